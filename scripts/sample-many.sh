#!/usr/bin/env bash
# Runs many samplings (maps x seeds x window sizes x option sets) with GNU parallel, each job in a
# folder of its own, then merges their logs with merge-runs.sh. Run with --help for the usage.
set -uo pipefail

self="$(cd "$(dirname "$0")" && pwd)/$(basename "$0")"
here="$(dirname "$self")"

usage() {
  cat <<'EOF'
Usage: sample-many.sh --out DIR [--seeds LIST] [--sizes LIST] [--set 'OPTIONS']... [--jobs N]
                      [--cli PATH] [--dry-run | --plan-only] MAP... [-- SAMPLE-OPTIONS...]
       sample-many.sh --continue --out DIR [--jobs N] [--dry-run | --plan-only]
       sample-many.sh --run-job DIR N

Runs 'orvalis-cli sample' once for every map, seed, window size and option set, at most N jobs at
a time (GNU parallel), then merges the logs into DIR/runs.csv and the FRAGSTATS batch lists into
DIR/ListFragStat.fbt (scripts/merge-runs.sh).

  --out DIR        a new folder for the plan and the runs; job K runs in DIR/runs/<job>/, its
                   working directory (sample.txt, the batch list, orvalis.log, exit-status), with
                   its windows in DIR/runs/<job>/windows/
  --seeds LIST     seeds, e.g. 1-20 or 1,5,9 or 1-10,50 (1)
  --sizes LIST     window sizes, e.g. 50,100,200; without it each job uses --size as given after
                   -- or the program's default, and the size column stays empty
  --set 'OPTIONS'  one more option set, blank-separated, e.g. --set '--cover 10:90:10'; repeat it
                   to add sets (every set is one more job per map, seed and size)
  --jobs N         jobs at a time (the number of cores)
  --cli PATH       the orvalis-cli to run ($ORVALIS_CLI, else orvalis-cli on PATH, else the
                   build/ of this checkout)
  --dry-run        print the jobs and their commands; write nothing
  --plan-only      write DIR/jobs.tsv and the shared options and stop: for a Slurm job array
                   (see scripts/sample-array.sbatch)
  --continue       run the jobs of DIR's plan that have not finished; the folders of failed
                   jobs are moved to DIR/failed/ first
  --run-job DIR N  run job N (1 = the table's first row) of DIR's plan: what each parallel
                   job and each Slurm array task runs
  -- OPTIONS       passed unchanged to every 'orvalis-cli sample' (e.g. --replicates 5
                   --cover 10:90:10, or --habitat 41-43 --format asc for land-cover maps);
                   --folder and --seed are set by the script

Exit status: 0 when every job succeeded and the logs were merged; 1 when a job failed (each is
named, its log is DIR/runs/<job>/orvalis.log); 2 on bad arguments, a missing program or an
existing DIR.
EOF
}

die() {  # die STATUS MESSAGE
  echo "sample-many.sh: $2" >&2
  exit "$1"
}

# Expands "1-3,7" to one number a line; refuses anything else, so a typo never runs a wrong plan.
expand_list() {
  local what="$1" list="$2" part
  [ -n "$list" ] || die 2 "$what: empty list"
  local IFS=,
  for part in $list; do
    if [[ "$part" =~ ^[0-9]+$ ]]; then
      echo "$part"
    elif [[ "$part" =~ ^([0-9]+)-([0-9]+)$ ]] && [ "${BASH_REMATCH[1]}" -le "${BASH_REMATCH[2]}" ]; then
      seq "${BASH_REMATCH[1]}" "${BASH_REMATCH[2]}"
    else
      die 2 "$what: '$part' is not a number or a range A-B (e.g. 1-20,50)"
    fi
  done
}

find_cli() {
  local given="${1:-${ORVALIS_CLI:-}}" found
  if [ -n "$given" ]; then
    found="$(command -v -- "$given")" || die 2 "orvalis-cli not found at '$given'"
  elif ! found="$(command -v orvalis-cli)"; then
    found="$here/../build/src/cli/orvalis-cli"
    [ -x "$found" ] || die 2 "orvalis-cli not found: build it (scripts/build.sh build), install the package (scripts/package.sh) or give --cli PATH"
  fi
  [ -x "$found" ] || die 2 "orvalis-cli at '$found' is not executable"
  (cd "$(dirname "$found")" && echo "$(pwd)/$(basename "$found")")
}

need_gnu_parallel() {
  command -v parallel >/dev/null ||
    die 2 "GNU parallel is missing: install it with 'sudo apt-get install parallel' (or use --plan-only and a Slurm job array)"
  # moreutils ships another program called parallel, with other options
  parallel --version 2>/dev/null | grep -q "GNU parallel" ||
    die 2 "the parallel on PATH ($(command -v parallel)) is not GNU parallel: install it with 'sudo apt-get install parallel'"
}

# A map's part of its jobs' folder names: only safe bytes, since the names end up in FRAGSTATS
# batch lists.
map_stem() {
  local stem
  stem="$(basename -- "$1")"
  printf '%s' "${stem%.*}" | LC_ALL=C tr -c 'A-Za-z0-9._-' '_'
}

# Options the script sets for every job would make the jobs' folders and seeds lie.
check_options() {
  local option
  for option in "$@"; do
    case "$option" in
      --folder|--folder=*|--seed|--seed=*) die 2 "$option is set by the script for every job; leave it out" ;;
      --size|--size=*) [ -z "$sizes" ] || die 2 "give the window sizes with --sizes alone, not also $option" ;;
    esac
  done
}

# Splits a row of jobs.tsv into the array fields; read with IFS=tab would merge empty columns.
split_row() {  # split_row ROW
  mapfile -t -d $'\t' fields < <(printf '%s' "$1")
  while [ ${#fields[@]} -lt 5 ]; do fields+=(""); done
}

# The orvalis-cli arguments of the job in fields, into the array command; shared holds the options
# every job gets.
job_arguments() {
  local words
  command=(sample "${fields[1]}" --folder windows --seed "${fields[2]}")
  [ -z "${fields[3]}" ] || command+=(--size "${fields[3]}")
  read -ra words <<<"${fields[4]}"
  command+=("${words[@]}" "${shared[@]}")
}

# One job of a plan: its folder must be new, so that a second task for the same row can never
# write over a finished one.
run_job() {  # run_job OUT N
  local out n="$2" row
  out="$(realpath -ms -- "$1")"
  [[ "$n" =~ ^[1-9][0-9]*$ ]] || die 2 "--run-job: job number '$n' is not a whole number from 1"
  [ -f "$out/jobs.tsv" ] || die 2 "--run-job: no plan in '$out' (jobs.tsv is missing)"
  row="$(sed -n "$((n + 1))p" "$out/jobs.tsv")"
  [ -n "$row" ] || die 2 "--run-job: '$out/jobs.tsv' has no job $n"
  split_row "$row"
  local job="${fields[0]}" dir="$out/runs/${fields[0]}" cli="${ORVALIS_CLI:-$(cat "$out/cli-path")}"
  mkdir -p "$out/runs"
  mkdir "$dir" 2>/dev/null ||
    die 2 "job $n: the folder '$dir' exists already; move it away to run the job again (or use --continue)"
  mkdir "$dir/windows"
  [ ! -f "$out/config.txt" ] || cp "$out/config.txt" "$dir/"
  mapfile -d '' shared <"$out/sample-options"
  job_arguments
  local status=0
  (cd "$dir" && exec "$cli" "${command[@]}") >"$dir/orvalis.log" 2>&1 || status=$?
  echo "$status" >"$dir/exit-status.tmp" && mv "$dir/exit-status.tmp" "$dir/exit-status"
  if [ "$status" -eq 0 ]; then
    echo "done   $job: $(tail -n 1 "$dir/orvalis.log")"
  else
    { echo "FAILED $job (exit $status):"; tail -n 3 "$dir/orvalis.log" | sed 's/^/  /'; } >&2
  fi
  return "$status"
}

# Writes the plan into a new OUT: the job table, the options every job shares, the program.
write_plan() {
  local out="$1" cli="$2"
  shift 2
  mkdir -p -- "$out" || die 2 "cannot create '$out'"
  # noclobber: of two batches started on the same new folder, the second stops here
  (set -C && : >"$out/jobs.tsv") 2>/dev/null || die 2 "'$out' holds a plan already"
  {
    printf 'job\tmap\tseed\tsize\tsetting\n'
    printf '%s\n' "${rows[@]}"
  } >"$out/jobs.tsv"
  : >"$out/sample-options"
  [ $# -eq 0 ] || printf '%s\0' "$@" >"$out/sample-options"
  echo "$cli" >"$out/cli-path"
  # a job runs elsewhere, so it would not see the config.txt a plain run here would read
  [ ! -f config.txt ] || cp config.txt "$out/"
}

# The jobs of OUT not yet finished, one number a line; the folders of failed and unfinished ones
# are moved to OUT/failed/ (only named with MOVE=no).
pending_jobs() {  # pending_jobs OUT MOVE
  local out="$1" n=0 job status
  while IFS=$'\t' read -r job _; do
    n=$((n + 1))
    local dir="$out/runs/$job"
    if [ -d "$dir" ]; then
      status="$(cat "$dir/exit-status" 2>/dev/null || echo unfinished)"
      [ "$status" != 0 ] || continue
      if [ "$2" = no ]; then
        echo "would move the folder of job $job ($status) to $out/failed/" >&2
        echo "$n"
        continue
      fi
      mkdir -p "$out/failed"
      local aside
      aside="$out/failed/$job.$(date +%Y%m%d-%H%M%S)"
      mv -- "$dir" "$aside" && echo "moved the folder of job $job ($status) to $aside" >&2
    fi
    echo "$n"
  done < <(tail -n +2 "$out/jobs.tsv")
}

# Ascending numbers, one a line, as a Slurm array: 1-3,7.
as_ranges() {
  awk 'NR == 1 { first = last = $1; next }
       $1 == last + 1 { last = $1; next }
       { printf "%s%s,", first, (last > first ? "-" last : ""); first = last = $1 }
       END { if (NR) printf "%s%s\n", first, (last > first ? "-" last : "") }'
}

out="" seeds="1" sizes="" jobs="$(nproc 2>/dev/null || echo 2)" cli_given="" mode=run mode_continue=""
sets=() maps=() passed=()
while [ $# -gt 0 ]; do
  case "$1" in
    -h|--help) usage; exit 0 ;;
    --run-job) [ $# -eq 3 ] || die 2 "usage: sample-many.sh --run-job DIR N"; run_job "$2" "$3"; exit ;;
    --out|--seeds|--sizes|--set|--jobs|--cli)
      [ $# -ge 2 ] || die 2 "$1 needs a value"
      case "$1" in
        --out) out="$2" ;; --seeds) seeds="$2" ;; --sizes) sizes="$2" ;; --set) sets+=("$2") ;;
        --jobs) jobs="$2" ;; --cli) cli_given="$2" ;;
      esac
      shift 2 ;;
    --dry-run) mode=dry; shift ;;
    --plan-only) mode=plan; shift ;;
    --continue) mode_continue=1; shift ;;
    --) shift; passed=("$@"); break ;;
    -*) die 2 "unknown option '$1' (options for orvalis-cli go after --; see --help)" ;;
    *) maps+=("$1"); shift ;;
  esac
done
[ -n "$out" ] || die 2 "--out DIR is required (see --help)"
[[ "$jobs" =~ ^[1-9][0-9]*$ ]] || die 2 "--jobs: '$jobs' is not a whole number from 1"
out="$(realpath -ms -- "$out")"
[ "$mode" != run ] || need_gnu_parallel

if [ -n "$mode_continue" ]; then
  [ ${#maps[@]} -eq 0 ] && [ ${#passed[@]} -eq 0 ] ||
    die 2 "--continue takes the plan from '$out'; give no maps and no options after --"
  [ -f "$out/jobs.tsv" ] || die 2 "--continue: no plan in '$out' (jobs.tsv is missing)"
  if [ -n "$cli_given" ]; then
    cli="$(find_cli "$cli_given")" || exit 2
    [ "$mode" = dry ] || echo "$cli" >"$out/cli-path"
  else
    cli="$(find_cli "$(cat "$out/cli-path")")" || exit 2
  fi
  if [ "$mode" = dry ]; then
    mapfile -t todo < <(pending_jobs "$out" no)
    echo "${#todo[@]} jobs of $out to run: ${todo[*]}"
    exit 0
  fi
  mapfile -t todo < <(pending_jobs "$out" yes)
else
  [ ${#maps[@]} -gt 0 ] || die 2 "no map given (see --help)"
  [ ! -e "$out" ] || [ -z "$(ls -A -- "$out")" ] ||
    die 2 "'$out' exists already and is not empty: choose a new --out, or --continue to finish its plan"
  check_options "${passed[@]}"
  for set in "${sets[@]}"; do
    read -ra words <<<"$set"
    check_options "${words[@]}"
  done
  list="$(expand_list --seeds "$seeds")" || exit 2
  mapfile -t seed_list <<<"$list"
  size_list=("")
  if [ -n "$sizes" ]; then
    list="$(expand_list --sizes "$sizes")" || exit 2
    mapfile -t size_list <<<"$list"
  fi
  [ ${#sets[@]} -gt 0 ] || sets=("")
  rows=()
  k=0
  for map in "${maps[@]}"; do
    [ -e "$map" ] || die 2 "map '$map' not found"
    case "$map" in *$'\t'* | *$'\n'*) die 2 "map '$map': tabs and line breaks in a path are not supported" ;; esac
    map="$(realpath -s -- "$map")"
    stem="$(map_stem "$map")"
    for seed in "${seed_list[@]}"; do
      for size in "${size_list[@]}"; do
        for s in "${!sets[@]}"; do
          k=$((k + 1))
          setnumber=""
          [ ${#sets[@]} -eq 1 ] || setnumber=$((s + 1))
          # the number first, so that ls lists the jobs in the plan's order
          printf -v job '%04d-%s-seed%s%s%s' "$k" "$stem" "$seed" "${size:+-size$size}" "${setnumber:+-set$setnumber}"
          rows+=("$job"$'\t'"$map"$'\t'"$seed"$'\t'"$size"$'\t'"${sets[$s]}")
        done
      done
    done
  done
  cli="$(find_cli "$cli_given")" || exit 2
  if [ "$mode" = dry ]; then
    echo "$k jobs into $out, $jobs at a time, with $cli:"
    shared=("${passed[@]}")
    for row in "${rows[@]}"; do
      split_row "$row"
      job_arguments
      printf '%s: (cd runs/%q &&' "${fields[0]}" "${fields[0]}"
      printf ' %q' orvalis-cli "${command[@]}"
      printf ')\n'
    done
    exit 0
  fi
  write_plan "$out" "$cli" "${passed[@]}"
  mapfile -t todo < <(seq 1 "$k")
fi

if [ "$mode" = plan ]; then
  echo "plan of $(($(wc -l <"$out/jobs.tsv") - 1)) jobs in $out/jobs.tsv; jobs to run: ${#todo[@]}"
  [ ${#todo[@]} -eq 0 ] || echo "Slurm: sbatch --array=$(printf '%s\n' "${todo[@]}" | as_ranges) scripts/sample-array.sbatch $(printf '%q' "$out")"
  exit 0
fi
if [ ${#todo[@]} -gt 0 ]; then
  echo "running ${#todo[@]} job(s), $jobs at a time, into $out"
  # only job numbers go through parallel's command line: paths stay in the table, unquoted nowhere
  # shellcheck disable=SC2016
  SAMPLE_MANY_SELF="$self" SAMPLE_MANY_OUT="$out" \
    parallel --jobs "$jobs" --halt never '"$SAMPLE_MANY_SELF" --run-job "$SAMPLE_MANY_OUT" {}' ::: "${todo[@]}"
fi
# merge-runs.sh names every failed or unfinished job and exits 1 then
"$here/merge-runs.sh" "$out"

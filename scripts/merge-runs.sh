#!/usr/bin/env bash
# Merges the jobs of a sample-many.sh plan, run by GNU parallel or by a Slurm job array, into one
# table for R and pandas and one FRAGSTATS batch list.
set -uo pipefail

usage() {
  cat <<'EOF'
Usage: merge-runs.sh [--partial] DIR

Reads DIR/jobs.tsv (written by sample-many.sh) and the runs in DIR/runs/<job>/, and writes
  DIR/runs.csv          job,map,seed,size,setting,window,cover,x,y[,map_x,map_y]: one row per window
                        in the order of the plan and of each log; window is relative to DIR, map_x
                        and map_y (the map coordinates of the window centre) appear when a log has them
  DIR/ListFragStat.fbt  every job's batch list, the names made absolute

  --partial   merge the finished jobs even when others failed or have not run (they are named)

Exit status: 0 merged; 1 a job failed, has not finished or left an unreadable log (each is named,
nothing is written); 2 bad arguments or no plan in DIR.
EOF
}

partial=0
case "${1:-}" in
  -h|--help) usage; exit 0 ;;
  --partial) partial=1; shift ;;
esac
[ $# -eq 1 ] || { usage >&2; exit 2; }
out="$(cd -- "$1" 2>/dev/null && pwd)" || { echo "merge-runs.sh: no folder '$1'" >&2; exit 2; }
[ -f "$out/jobs.tsv" ] || { echo "merge-runs.sh: no plan in '$out' (jobs.tsv is missing)" >&2; exit 2; }

# One line per job for awk: the plan's row, then the run's exit status and its batch list.
manifest="$(mktemp)"
body="$(mktemp)"
trap 'rm -f "$manifest" "$body"' EXIT
skipped=()
while IFS= read -r row; do
  job="${row%%$'\t'*}"
  dir="$out/runs/$job"
  if [ ! -d "$dir" ]; then
    skipped+=("$job: not run")
    continue
  elif [ ! -f "$dir/exit-status" ]; then
    skipped+=("$job: unfinished (still running, or stopped; see $dir/orvalis.log)")
    continue
  fi
  read -r status <"$dir/exit-status"
  if [ "$status" != 0 ]; then
    skipped+=("$job: failed with exit status $status (see $dir/orvalis.log)")
    continue
  fi
  lists=("$dir"/*ListFragStat.fbt)
  [ ${#lists[@]} -eq 1 ] && [ -f "${lists[0]}" ] || {
    skipped+=("$job: no single batch list in $dir")
    continue
  }
  printf '%s\t%s\n' "$row" "${lists[0]}" >>"$manifest"
done < <(tail -n +2 "$out/jobs.tsv")

if [ ${#skipped[@]} -gt 0 ]; then
  echo "merge-runs.sh: ${#skipped[@]} job(s) did not finish:" >&2
  printf '  %s\n' "${skipped[@]}" >&2
  if [ "$partial" -eq 0 ]; then
    echo "run them again with 'sample-many.sh --continue --out $out' (or Slurm, see README), or merge the others with --partial" >&2
    exit 1
  fi
fi

# The log's window name may hold blanks (a prefix with blanks), so its fields are read from the
# right: cover x y, then map_x map_y for a georeferenced map.
LC_ALL=C awk -F '\t' -v out="$out" -v body="$body" -v list="$out/.ListFragStat.fbt.part" '
function csv(s) {
  if (s ~ /[",\r\n]/) { gsub(/"/, "\"\"", s); return "\"" s "\"" }
  return s
}
function fail(why) { print "merge-runs.sh: " why > "/dev/stderr"; bad = 1 }
BEGIN { number = "^-?[0-9]+(\\.[0-9]*)?([eE][-+]?[0-9]+)?$"; printf "" > list }
{
  job = $1; dir = out "/runs/" job; logfile = dir "/sample.txt"; batch = $6
  line = 0
  while ((got = (getline entry < logfile)) > 0) {
    ++line
    n = split(entry, t, / /)
    k = 0
    while (k < 5 && k < n - 1 && t[n - k] ~ number) ++k
    if (k != 3 && k != 5) { fail(logfile ":" line ": not a window line: " entry); break }
    name = t[1]
    for (i = 2; i <= n - k; ++i) name = name " " t[i]
    if ((getline listed < batch) <= 0 || index(listed, name) != 1) {
      fail(batch ":" line ": does not name the window of " logfile ":" line); break
    }
    relative = substr(name, 1, 1) == "/" ? name : "runs/" job "/" name
    absolute = substr(name, 1, 1) == "/" ? name : dir "/" name
    print absolute substr(listed, length(name) + 1) > list
    row = csv(job) "," csv($2) "," $3 "," $4 "," csv($5) "," csv(relative)
    row = row "," t[n - k + 1] "," t[n - k + 2] "," t[n - k + 3]
    if (k == 5) { row = row "," t[n - 1] "," t[n]; georeferenced = 1 } else row = row ",,"
    print row > body
  }
  if (got < 0) fail("cannot read " logfile)
  else if (!bad && (getline listed < batch) > 0) fail(batch ": lists more windows than " logfile)
  close(logfile); close(batch)
}
END { exit bad ? 1 : (georeferenced ? 3 : 0) }
' "$manifest"
case $? in
  0) columns="" ;;
  3) columns=",map_x,map_y" ;;
  *) rm -f "$out/.ListFragStat.fbt.part"; exit 1 ;;
esac
{
  echo "job,map,seed,size,setting,window,cover,x,y$columns"
  if [ -n "$columns" ]; then cat "$body"; else sed 's/,,$//' "$body"; fi
} >"$out/.runs.csv.part"
mv "$out/.runs.csv.part" "$out/runs.csv"
mv "$out/.ListFragStat.fbt.part" "$out/ListFragStat.fbt"
echo "merged $(($(wc -l <"$out/runs.csv") - 1)) windows of $(wc -l <"$manifest") jobs into $out/runs.csv and $out/ListFragStat.fbt"

#!/usr/bin/env bash
# sample-many.sh end to end on the bundled map with two seeds: each job gives what a plain run of
# orvalis-cli gives, a Slurm array over the same plan gives the same table, an earlier output
# folder is never written over, and a failed job fails the batch under its name.
# Exits 77 (skipped) without GNU parallel.
set -u
source_dir="${1:?usage: sample-many-test.sh SOURCE_DIR ORVALIS_CLI}"
cli="${2:?usage: sample-many-test.sh SOURCE_DIR ORVALIS_CLI}"
parallel --version 2>/dev/null | grep -q "GNU parallel" || { echo "GNU parallel is not installed: skipped"; exit 77; }
scripts="$source_dir/scripts"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
cd "$tmp" || exit 1
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

mkdir "$tmp/cartes été"
map="$tmp/cartes été/forêt d'Augusta.tga"
cp "$source_dir/examples/augusta_forest.tga" "$map"
options=(--cover 10:90:40 --replicates 2 --prefix "fo rêt_" --post-string ",x")
out="$tmp/ré sults"
"$scripts/sample-many.sh" --cli "$cli" --jobs 2 --out "$out" --seeds 1,2 --sizes 40 "$map" -- "${options[@]}" \
  >"$tmp/batch.log" 2>&1 || fail "the batch failed: $(cat "$tmp/batch.log")"

# each job equals a plain run with its seed, in a folder of its own
for seed in 1 2; do
  plain="$tmp/plain$seed"
  mkdir -p "$plain/windows"
  (cd "$plain" && "$cli" sample "$map" --folder windows --seed "$seed" --size 40 "${options[@]}" >/dev/null) ||
    fail "plain run with seed $seed"
  job=("$out"/runs/000"$seed"-*)
  diff -r "$plain" "${job[0]}" -x orvalis.log -x exit-status >/dev/null || fail "job of seed $seed differs from a plain run"
done
windows=$(cat "$tmp"/plain{1,2}/sample.txt | wc -l)
[ "$windows" -gt 2 ] && [ "$(wc -l <"$out/runs.csv")" -eq $((windows + 1)) ] ||
  fail "runs.csv has $(wc -l <"$out/runs.csv") lines for $windows windows"
[ "$(wc -l <"$out/ListFragStat.fbt")" -eq "$windows" ] || fail "the merged batch list does not list every window"

# the same plan run as a Slurm array (tasks in any order) gives the same table
"$scripts/sample-many.sh" --cli "$cli" --plan-only --out "$tmp/slurm" --seeds 1,2 --sizes 40 "$map" -- "${options[@]}" >/dev/null
for task in 2 1; do
  (cd / && SLURM_ARRAY_TASK_ID=$task SLURM_SUBMIT_DIR="$source_dir" bash "$scripts/sample-array.sbatch" "$tmp/slurm") \
    >/dev/null || fail "Slurm task $task"
done
"$scripts/merge-runs.sh" "$tmp/slurm" >/dev/null && cmp -s "$tmp/slurm/runs.csv" "$out/runs.csv" ||
  fail "the Slurm array's runs.csv differs from GNU parallel's"

# an earlier folder is refused, as is a second task for a finished row, and nothing changes
before="$(cd "$out" && find . -type f -exec cksum {} + | sort)"
"$scripts/sample-many.sh" --cli "$cli" --out "$out" --seeds 3 "$map" >/dev/null 2>&1
[ $? -eq 2 ] || fail "a second batch into the same folder is not refused with exit 2"
"$scripts/sample-many.sh" --run-job "$out" 1 >/dev/null 2>&1 && fail "a job is run over its finished folder"
[ "$(cd "$out" && find . -type f -exec cksum {} + | sort)" = "$before" ] || fail "the earlier folder was changed"

# a job that fails makes the batch fail and is named; --continue runs it again once it can work
echo "not a TGA" >"$tmp/broken.tga"
"$scripts/sample-many.sh" --cli "$cli" --out "$tmp/failing" --sizes 40 "$map" "$tmp/broken.tga" -- "${options[@]}" \
  >"$tmp/failing.log" 2>&1
[ $? -eq 1 ] || fail "a failed job does not fail the batch"
grep -q "0002-broken-seed1-size40: failed" "$tmp/failing.log" || fail "the failed job is not named: $(cat "$tmp/failing.log")"
cp "$map" "$tmp/broken.tga"
"$scripts/sample-many.sh" --continue --out "$tmp/failing" >"$tmp/continue.log" 2>&1 && [ -d "$tmp/failing/failed" ] &&
  grep -q "running 1 job" "$tmp/continue.log" || fail "--continue: $(cat "$tmp/continue.log")"

echo "sample-many.sh: $failures failure(s)"
[ $failures -eq 0 ]

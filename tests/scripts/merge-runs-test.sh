#!/usr/bin/env bash
# merge-runs.sh on hand-made runs: names with blanks, accents, commas and quotes, a georeferenced
# log, a failed job, and logs that do not agree with their batch lists.
set -u
merge="${1:?usage: merge-runs-test.sh SCRIPTS_DIR}/merge-runs.sh"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

root="$tmp/ré sults"
job1='0001-forêt-seed1-size50' job2='0002-nlcd-seed2' job3='0003-nlcd-seed3'
# a finished job: folder RUN, exit status, sample.txt and the batch list as orvalis-cli writes them
fake_run() {  # fake_run JOB STATUS LIST-NAME LOG-TEXT LIST-TEXT
  mkdir -p "$root/runs/$1/windows"
  echo "$2" >"$root/runs/$1/exit-status"
  printf '%s' "$4" >"$root/runs/$1/sample.txt"
  printf '%s' "$5" >"$root/runs/$1/$3"
}
mkdir -p "$root"
printf 'job\tmap\tseed\tsize\tsetting\n%s\t/d/a "b",c.tga\t1\t50\t--cover 10:90:40\n%s\t/d/nlcd.tif\t2\t\t\n' \
  "$job1" "$job2" >"$root/jobs.tsv"
fake_run "$job1" 0 'a bListFragStat.fbt' $'windows/a b040_001.txt 0.405 565 311\nwindows/a b080_001.txt 1 500 138\n' \
  $'windows/a b040_001.txt,x\nwindows/a b080_001.txt,x\n'
fake_run "$job2" 0 ListFragStat.fbt $'windows/040_001.asc 1e-05 12 7 -84.25 33.5\n' $'windows/040_001.asc\n'

if ! "$merge" "$root" >/dev/null; then
  fail "two finished jobs are not merged"
fi
expected="job,map,seed,size,setting,window,cover,x,y,map_x,map_y
$job1,\"/d/a \"\"b\"\",c.tga\",1,50,--cover 10:90:40,runs/$job1/windows/a b040_001.txt,0.405,565,311,,
$job1,\"/d/a \"\"b\"\",c.tga\",1,50,--cover 10:90:40,runs/$job1/windows/a b080_001.txt,1,500,138,,
$job2,/d/nlcd.tif,2,,,runs/$job2/windows/040_001.asc,1e-05,12,7,-84.25,33.5"
[ "$(cat "$root/runs.csv" 2>/dev/null)" = "$expected" ] || fail "runs.csv:
$(cat "$root/runs.csv" 2>/dev/null)
expected:
$expected"
expected="$root/runs/$job1/windows/a b040_001.txt,x
$root/runs/$job1/windows/a b080_001.txt,x
$root/runs/$job2/windows/040_001.asc"
[ "$(cat "$root/ListFragStat.fbt" 2>/dev/null)" = "$expected" ] || fail "merged batch list:
$(cat "$root/ListFragStat.fbt" 2>/dev/null)"

# without map coordinates the table has no map columns
mkdir -p "$tmp/plain"
head -n 2 "$root/jobs.tsv" >"$tmp/plain/jobs.tsv"
cp -r "$root/runs" "$tmp/plain/"
"$merge" "$tmp/plain" >/dev/null && [ "$(head -n 1 "$tmp/plain/runs.csv")" = "job,map,seed,size,setting,window,cover,x,y" ] &&
  [ "$(sed -n 2p "$tmp/plain/runs.csv" | awk -F, '{ print $NF }')" = 311 ] || fail "a table without map coordinates"

# A job that failed, ran not at all or left a log its batch list contradicts stops the merge
# (exit 1, the job named, runs.csv untouched); --partial merges the others.
printf '%s\t/d/nlcd.tif\t3\t\t\n' "$job3" >>"$root/jobs.tsv"
before="$(cksum <"$root/runs.csv")"
while IFS='|' read -r what status log list named; do
  rm -rf "${root:?}/runs/$job3"
  [ "$status" = none ] || fake_run "$job3" "$status" ListFragStat.fbt "$(printf '%b' "$log")" "$(printf '%b' "$list")"
  [ "$status" != killed ] || rm "$root/runs/$job3/exit-status"
  message="$("$merge" "$root" 2>&1 >/dev/null)"
  code=$?
  [ $code -eq 1 ] || fail "$what: exit $code, not 1"
  [[ "$message" == *"$named"* ]] || fail "$what: the message does not name $named: $message"
  [ "$(cksum <"$root/runs.csv")" = "$before" ] || fail "$what: runs.csv was changed"
done <<EOF
failed job|1|||$job3: failed with exit status 1
job not run|none|||$job3: not run
unfinished job|killed|||$job3: unfinished
list names another window|0|windows/a.asc 0.5 1 2\n|windows/b.asc\n|ListFragStat.fbt:1
list longer than the log|0|windows/a.asc 0.5 1 2\n|windows/a.asc\nwindows/b.asc\n|lists more windows
log line without fields|0|windows/a.asc 0.5\n|windows/a.asc\n|not a window line
EOF
rm -rf "${root:?}/runs/$job3"
"$merge" --partial "$root" >/dev/null 2>&1 && [ "$(wc -l <"$root/runs.csv")" -eq 4 ] ||
  fail "--partial does not merge the finished jobs"

echo "merge-runs.sh: $failures failure(s)"
[ $failures -eq 0 ]

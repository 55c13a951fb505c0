#!/usr/bin/env bash
# Installs what is missing, builds the two programs (no tests, no benchmarks: scripts/test.sh
# builds those in the same build/ folder, reusing what is built here), and samples windows from
# the bundled example image into a fresh folder under out/. Extra arguments go to 'orvalis-cli sample'.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS
scripts/install-deps.sh build
scripts/build.sh build -DORVALIS_TESTS=OFF -DORVALIS_BENCH=OFF
root="$PWD"
out="$root/out/sample-$(date +%Y%m%d-%H%M%S)"
mkdir -p "$out/windows"
cd "$out"
"$root/build/src/cli/orvalis-cli" sample "$root/examples/augusta_forest.tga" --folder "$out/windows" \
  --size 50 --replicates 2 --min-distance 20 --cover 10:90:10 --prefix SMP_ --seed 1 "$@"
elapsed=$((SECONDS - started))
echo
echo "Windows:     $out/windows/"
echo "Window log:  $out/sample.txt"
echo "Batch list:  $out/SMP_ListFragStat.fbt"
echo "See them:    $root/build/src/app/orvalis, then File > Open Sample Log: $out/sample.txt,"
echo "             with $root/examples/augusta_forest.tga as its map (or File > Open the files in windows/)"
printf 'Done in %d min %02d s (packages, build and sampling).\n' $((elapsed / 60)) $((elapsed % 60))

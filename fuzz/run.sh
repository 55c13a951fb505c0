#!/bin/sh
# Builds the libFuzzer targets into fuzz/bin/ and runs each for SECONDS (default 60), both at once.
# Needs only clang++ and libFuzzer (Debian: clang, libclang-rt-14-dev). Exit status 1 when a
# fuzzer found a crash, a leak or a broken invariant; the reproducer is left in fuzz/bin/.
set -eu

seconds=${1:-60}
case $seconds in
    ''|*[!0-9]*) echo "usage: $0 SECONDS" >&2; exit 2 ;;
esac

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
bin=$here/bin
cxx=${CXX_FUZZ:-}
if [ -z "$cxx" ]; then
    for candidate in clang++ clang++-14 clang++-15 clang++-16; do
        if command -v "$candidate" >/dev/null 2>&1; then cxx=$candidate; break; fi
    done
fi
if [ -z "$cxx" ]; then
    echo "fuzz: no clang++ found (install the clang package)" >&2
    exit 2
fi

mkdir -p "$bin"
flags="-std=c++20 -O1 -g -fno-omit-frame-pointer -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined"

build() {
    name=$1; shift
    echo "fuzz: building $name"
    "$cxx" $flags "-I$root/src" -o "$bin/$name" "$@"
}
build tga_fuzzer "$here/TgaFuzzer.cpp" "$root/src/core/io/TgaImage.cpp"
build landscape_fuzzer "$here/LandscapeFuzzer.cpp" "$root/src/core/io/LandscapeFile.cpp" "$root/src/core/io/CompactGrid.cpp" \
    "$root/src/core/io/SafeFile.cpp" "$root/src/core/metrics/LandscapeMetrics.cpp" "$root/src/core/metrics/Measure.cpp" \
    "$root/src/core/metrics/PatchGeometry.cpp" "$root/src/core/metrics/MetricCatalogue.cpp" \
    "$root/src/core/metrics/PatchRaster.cpp" "$root/src/core/metrics/NearestPatch.cpp"

run() {
    name=$1
    corpus=$here/corpus/$name
    mkdir -p "$corpus" "$bin/artifacts-$name"
    seeds=
    [ -d "$here/corpus-seed/$name" ] && seeds=$here/corpus-seed/$name
    # stderr of the code under test is closed (the reader reports refusals there); libFuzzer keeps its own
    "$bin/$name" -max_total_time="$seconds" -max_len=4096 -rss_limit_mb=2048 -malloc_limit_mb=64 \
        -close_fd_mask=2 -print_final_stats=1 -artifact_prefix="$bin/artifacts-$name/" \
        "$corpus" $seeds >"$bin/$name.log" 2>&1
}

status=0
run tga_fuzzer & tga=$!
run landscape_fuzzer & landscape=$!
wait $tga || status=1
wait $landscape || status=1

for name in tga_fuzzer landscape_fuzzer; do
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$bin/$name.log" | tail -n 1)
    if grep -q -E '^==[0-9]+==ERROR|^SUMMARY: |deadly signal|invariant broken|disagrees|differs' "$bin/$name.log"; then
        echo "fuzz: $name FOUND A PROBLEM after ${runs:-?} runs; see $bin/$name.log and $bin/artifacts-$name/"
        status=1
    else
        echo "fuzz: $name: ${runs:-?} runs in ${seconds}s, nothing found"
    fi
done
exit $status

#!/usr/bin/env bash
# Builds a Release configuration of what the package holds into build-package/ and makes the
# Debian package there: build-package/orvalis_VERSION_ARCH.deb. Extra arguments go to CMake.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
dir=build-package
# The man pages carry the date of the packaged commit, not of the build
export SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || date +%s)}"
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVALIS_TESTS=OFF -DORVALIS_BENCH=OFF "$@" >/dev/null
cmake --build "$dir" -j"$(nproc)"
rm -f "$dir"/orvalis_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
ls "$dir"/orvalis_*.deb

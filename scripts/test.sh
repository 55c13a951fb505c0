#!/usr/bin/env bash
# Installs what is missing, builds everything (tests and benchmarks too, even where the quick start
# configured build/ without them) and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build -DORVALIS_TESTS=ON -DORVALIS_BENCH=ON
ctest --test-dir build --output-on-failure --timeout 900 -j"$(nproc)"

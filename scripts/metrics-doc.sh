#!/usr/bin/env bash
# Writes docs/METRICS.md from the metric table (after a build into build/, or the folder given as $1).
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${1:-build}"
cmake --build "$dir" --target metrics-doc >/dev/null
"$dir/src/cli/metrics-doc" > docs/METRICS.md.new
mv docs/METRICS.md.new docs/METRICS.md
echo "docs/METRICS.md written"

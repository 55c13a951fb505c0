#!/usr/bin/env bash
# Installs the Debian 12 packages Orvalis needs, only those missing: with 'build', what building
# the two programs needs (the quick start); without, also what the tests, benchmarks, fuzzing and
# packaging need.
set -euo pipefail
# qt6-tools-dev and qt6-l10n-tools: Qt's translation tools (lrelease) build the window's languages;
# qt6-translations-l10n: Qt's own buttons and file chooser in Portuguese.
packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools qt6-charts-dev qt6-svg-dev
          qt6-tools-dev qt6-l10n-tools qt6-translations-l10n libqt6opengl6-dev libgl-dev libcli11-dev
          libgdal-dev libfftw3-dev libssl-dev)
if [ "${1:-}" != build ]; then
  packages+=(libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev
             help2man dpkg-dev desktop-file-utils man-db parallel)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
# dpkg's own sync after every file makes the install I/O-bound (3 min 21 s against 37 s for the build
# packages on a fresh machine); one sync at the end makes the whole install durable just the same.
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
  -o Dpkg::Options::=--force-unsafe-io "${missing[@]}"
sync

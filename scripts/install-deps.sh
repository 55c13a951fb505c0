#!/usr/bin/env bash
# Installs the Debian 12 packages Orvalis needs to build, test, fuzz and package; only what is missing.
set -euo pipefail
packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools qt6-charts-dev qt6-svg-dev
          libqt6opengl6-dev libgl-dev libcli11-dev
          libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev
          libgdal-dev libfftw3-dev libssl-dev help2man dpkg-dev desktop-file-utils man-db parallel)
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
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"

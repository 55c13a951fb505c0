#!/usr/bin/env bash
# Builds the Debian package, installs it with apt, runs both installed programs and removes the
# package again. Meant for a Debian 12 machine where installing and removing orvalis is harmless.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
scripts/package.sh
deb=$(ls build-package/orvalis_*.deb)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive

work=$(mktemp -d)
cleanup() {
  $sudo apt-get remove -y -qq orvalis >/dev/null
  rm -rf "$work"
}
trap 'rm -rf "$work"' EXIT
echo "== installing $deb"
$sudo apt-get install -y -qq "$root/$deb" >/dev/null
trap cleanup EXIT
dpkg-query -W -f='${Package} ${Version} ${Section}\n  Depends: ${Depends}\n' orvalis

# Depends comes from dpkg-shlibdeps: every library the programs load (Qt, GDAL, ...) must be
# there, or the package would install on a machine that cannot run it.
echo "== the libraries the programs load come from packages orvalis depends on"
depends=$(dpkg-query -W -f='${Depends}' orvalis)
# orvalis-cli's modules (maps through GDAL, charts through Qt) are loaded at run time: checked alike.
for bin in /usr/bin/orvalis /usr/bin/orvalis-cli $(dpkg -L orvalis | grep '/orvalis/[^/]*\.so$'); do
  for lib in $(objdump -p "$bin" | awk '$1 == "NEEDED" {print $2}'); do
    # The dynamic loader itself (ldd names it by path) is part of libc6, which every program needs.
    case "$lib" in ld-linux*) echo "$(basename "$bin"): $lib from libc6"; continue ;; esac
    path=$(ldd "$bin" | awk -v l="$lib" '$1 == l {print $3}')
    [ -n "$path" ] || { echo "$bin: $lib not found" >&2; exit 1; }
    # The package that holds that very file (/lib and /usr/lib are one folder on Debian 12).
    want=$(cd "$(dirname "$path")" && pwd -P)/$lib
    owner=$(dpkg -S "*/$lib" 2>/dev/null | awk -v want="$want" '{ p = $NF; w = want; sub(/^\/usr/, "", p);
      sub(/^\/usr/, "", w); if (p == w) { sub(/:.*/, "", $1); print $1; exit } }')
    case ", $depends" in
      *", $owner "*|*", $owner,"*|*", $owner") echo "$(basename "$bin"): $lib from $owner" ;;
      *) echo "$bin loads $lib (package ${owner:-unknown}), which is missing from Depends" >&2; exit 1 ;;
    esac
  done
done

echo "== running the installed programs in $work"
cd "$work"
mkdir windows
/usr/bin/orvalis-cli sample "$root/examples/augusta_forest.tga" --folder windows --size 50 --seed 1 >/dev/null
[ -s sample.txt ] && [ -n "$(ls windows)" ] || { echo "the sampler wrote nothing" >&2; exit 1; }
echo "orvalis-cli sample: $(ls windows | wc -l) windows"
# A map and a comparison's charts need the modules, found from where the program is installed.
mkdir map-windows
/usr/bin/orvalis-cli sample "$root/examples/augusta_nlcd.tif" --habitat 41-43 --folder map-windows --size 50 \
  --cover 40:60:10 --seed 1 >/dev/null
[ -n "$(ls map-windows)" ] || { echo "the map sampler wrote nothing" >&2; exit 1; }
echo "orvalis-cli sample of a map: $(ls map-windows | wc -l) windows"
/usr/bin/orvalis-cli compare --log sample.txt --replicates 3 --models random --output compared >/dev/null
ls compared/plots/*.png >/dev/null || { echo "the comparison drew no charts" >&2; exit 1; }
echo "orvalis-cli compare: $(ls compared/plots | wc -l) chart files"
/usr/bin/orvalis --help | grep -q 'landscape ecologists'
/usr/bin/orvalis --version
status=0
QT_QPA_PLATFORM=offscreen timeout 3 /usr/bin/orvalis 2>/dev/null || status=$?
# 124: still running when the timeout ended it, as a window that started should be
[ "$status" -eq 124 ] || { echo "orvalis stopped on its own with status $status" >&2; exit 1; }
echo "orvalis: window up until the timeout"

echo "== installed files"
man -w orvalis-cli
man -w orvalis
ls /usr/share/applications/orvalis.desktop /usr/share/icons/hicolor/scalable/apps/orvalis.svg
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate /usr/share/applications/orvalis.desktop
fi
echo "package check passed"

#!/usr/bin/env bash
# Collects the window's texts from src/gui and src/app into the two translation files, keeping
# what is already translated. Run it after adding or changing a text, then fill the new entries
# (type="unfinished") of src/gui/translations/orvalis_pt_BR.ts, and of orvalis_en.ts (there the
# English to show: the source text itself, or its correction where the source is Portuguese or
# misspelt and must stay as written), with Qt Linguist or an editor; the build compiles them.
# Texts in src/gui/Texts.h go through its helpers (detail::window, compare, sites, surface), which
# lupdate reads as tr() calls in the context texts::detail.
# The engines' table texts (metric names, units and definitions, neutral models' titles and
# parameters) reach lupdate through src/gui/translations/catalogue-texts.cpp, which this script first
# rewrites with the build's catalogue-texts (build/, or the folder in ORVALIS_BUILD); the engines'
# messages are the patterns of src/gui/EngineMessages.cpp, and the charts' texts are read in src/plots.
# With --check, the files are left alone and the texts without a translation are listed (exit 1).
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" != --check ]; then
  build=${ORVALIS_BUILD:-build}
  [ -f "$build/CMakeCache.txt" ] || { echo "no build in $build: configure one (scripts/build.sh) or set ORVALIS_BUILD" >&2; exit 1; }
  cmake --build "$build" --target catalogue-texts >/dev/null
  "$build/src/plots/catalogue-texts" > src/gui/translations/catalogue-texts.cpp.new
  mv src/gui/translations/catalogue-texts.cpp.new src/gui/translations/catalogue-texts.cpp
fi
lupdate=$(command -v lupdate-qt6 || command -v /usr/lib/qt6/bin/lupdate || true)
[ -n "$lupdate" ] || { echo "lupdate not found: scripts/install-deps.sh installs it" >&2; [ "${1:-}" = --check ] && exit 77; exit 1; }
folder=src/gui/translations
files=(orvalis_en.ts orvalis_pt_BR.ts)
if [ "${1:-}" = --check ]; then
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  for f in "${files[@]}"; do cp "$folder/$f" "$work/"; done
  folder=$work
fi
# Warnings about tr() outside Q_OBJECT classes are how the helpers above are read: not shown.
"$lupdate" -locations none -no-obsolete -I src \
  -tr-function-alias tr+=window,tr+=compare,tr+=sites,tr+=surface \
  src/gui src/app src/plots -ts "${files[@]/#/$folder/}" 2>&1 |
  grep -v -e "lacks Q_OBJECT" -e "Cannot invoke tr() like this" -e "undeclared qualified class" \
    -e "^Scanning" -e "^Updating" -e "Found .* source text" || true
status=0
for f in "${files[@]}"; do
  unfinished=$(grep -c 'type="unfinished"' "$folder/$f" || true)
  echo "$f: $unfinished without a translation"
  if [ "$unfinished" -gt 0 ] && [ "${1:-}" = --check ]; then
    grep -B2 'type="unfinished"' "$folder/$f" | sed -n 's/ *<source>\(.*\)<\/source>/  \1/p'
    status=1
  fi
done
exit $status

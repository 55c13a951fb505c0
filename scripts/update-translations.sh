#!/usr/bin/env bash
# Collects the window's texts from src/gui and src/app into the two translation files, keeping
# what is already translated. Run it after adding or changing a text, then fill the new entries
# (type="unfinished") of src/gui/translations/orvalis_pt_BR.ts, and of orvalis_en.ts where the
# source text is not the English to show (a Portuguese or misspelt text kept as written), with
# Qt Linguist (linguist) or an editor; the build compiles them. Texts in src/gui/Texts.h go through
# its helpers (detail::window, compare, sites, surface), which lupdate reads as tr() calls: their
# context is texts::detail.
set -euo pipefail
cd "$(dirname "$0")/.."
lupdate=$(command -v lupdate-qt6 || command -v /usr/lib/qt6/bin/lupdate || true)
[ -n "$lupdate" ] || { echo "lupdate not found: scripts/install-deps.sh installs it" >&2; exit 1; }
"$lupdate" -silent -locations none -no-obsolete \
  -tr-function-alias tr+=window,tr+=compare,tr+=sites,tr+=surface \
  src/gui src/app \
  -ts src/gui/translations/orvalis_en.ts src/gui/translations/orvalis_pt_BR.ts
grep -c 'type="unfinished"' src/gui/translations/orvalis_*.ts | sed 's/:/: unfinished: /'

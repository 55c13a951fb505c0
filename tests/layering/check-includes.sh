#!/bin/sh
# Fails when a source file includes across the layers: core includes only core and the
# standard library, plots includes core and Qt but not the window, cli includes core and plots'
# Qt-free header, and only the window's own files include MainWindow.h.
set -u
src=${1:?usage: check-includes.sh SRC_DIR}
status=0
complain() {
    echo "$1"
    status=1
}
found=$(grep -rnE '#include +["<](gui/|cli/|app/|plots/|Q[A-Za-z]*[">])' "$src/core" 2>/dev/null)
[ -z "$found" ] || complain "core reaches outside its layer:
$found"
found=$(grep -rnE '#include +["<](gui/|app/|Q[A-Za-z]*[">])' "$src/cli" 2>/dev/null)
[ -z "$found" ] || complain "cli reaches into the window:
$found"
found=$(grep -rnE '#include +"plots/' "$src/cli" 2>/dev/null | grep -v '"plots/ComparePlots.h"')
[ -z "$found" ] || complain "cli includes more of plots than its Qt-free entry:
$found"
found=$(grep -rnE '#include +["<](gui/|cli/|app/)' "$src/plots" 2>/dev/null)
[ -z "$found" ] || complain "plots reaches into the window or the command line:
$found"
found=$(grep -lE '#include +<Q' "$src/plots/ComparePlots.h" "$src/plots/ChartTables.h" "$src/plots/CsvReader.h" 2>/dev/null)
[ -z "$found" ] || complain "a plots header the command line or a build without Qt reads includes Qt:
$found"
found=$(grep -rln '#include "gui/MainWindow.h"' "$src" | grep -vE "/gui/MainWindow\.cpp$|/app/[^/]*$")
[ -z "$found" ] || complain "MainWindow.h included by a feature file:
$found"
exit $status

#!/bin/sh
# Fails when a source file includes across the layers: core includes only core and the
# standard library, cli includes core, and only the window's own files include MainWindow.h.
set -u
src=${1:?usage: check-includes.sh SRC_DIR}
status=0
complain() {
    echo "$1"
    status=1
}
found=$(grep -rnE '#include +["<](gui/|cli/|app/|Q[A-Za-z]*[">])' "$src/core" 2>/dev/null)
[ -z "$found" ] || complain "core reaches outside its layer:
$found"
found=$(grep -rnE '#include +["<](gui/|app/|Q[A-Za-z]*[">])' "$src/cli" 2>/dev/null)
[ -z "$found" ] || complain "cli reaches into the window:
$found"
found=$(grep -rln '#include "gui/MainWindow.h"' "$src" | grep -vE "/gui/MainWindow\.cpp$|/app/[^/]*$")
[ -z "$found" ] || complain "MainWindow.h included by a feature file:
$found"
exit $status

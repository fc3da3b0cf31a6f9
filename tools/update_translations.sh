#!/bin/sh
# Refreshes the three catalogues from the sources; new texts appear as unfinished entries
# that must then be translated.
cd "$(dirname "$0")/.." || exit 1
LUPDATE=$(command -v lupdate || echo /usr/lib/qt5/bin/lupdate)
dirs=""
for d in app core measure shell home hotspots analysis export report; do
  [ -d "$d" ] && dirs="$dirs $d"
done
for pair in chinese:zh_CN english:en japanese:ja; do
  lang=${pair%%:*}
  # shellcheck disable=SC2086
  "$LUPDATE" -silent -locations none -no-obsolete $dirs -target-language "${pair#*:}" -ts "res/language/$lang.ts"
done

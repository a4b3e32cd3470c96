#!/usr/bin/env bash
# Lays a fresh copy of the example help set in WORK_DIR and runs the tool on it
# the way the README does: make_example.sh QUORVANE EXAMPLES_DIR WORK_DIR
set -euo pipefail
quorvane=$(realpath "$1") examples=$2 work=$3
rm -rf "$work"
mkdir -p "$work"
cp -R "$examples"/. "$work"
rm -f "$work"/*.hhp "$work"/*.hhc "$work"/*.hhk "$work"/*.chm "$work"/aide/sommaire.html "$work"/aide/motscles.html \
  "$work"/aide/index.html
cd "$work"
"$quorvane" aide/liste.xml aide >quorvane.log || { iconv -f CP1252 -t UTF-8 quorvane.log; exit 1; }
for written in aide.hhp aide.hhc aide.hhk aide/sommaire.html aide/motscles.html aide/index.html; do
  [ -s "$written" ] || { echo "the tool did not write $written"; exit 1; }
done
echo "example written in $work"

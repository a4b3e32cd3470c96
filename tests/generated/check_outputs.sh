#!/usr/bin/env bash
# Runs the tool on help sets made by bench/gen_helpset.py (fixed seed) and
# checks every output file and the messages against the recorded checksums.
# The index order comes from the collation data of the system's ICU: record
# anew (--update, with the tool before the change) when that data changes.
#   check_outputs.sh QUORVANE GEN_HELPSET SUMS            check
#   check_outputs.sh QUORVANE GEN_HELPSET SUMS --update   record anew
set -euo pipefail
bin=$(realpath "$1") gen=$(realpath "$2") sums=$(realpath -m "$3") update=${4:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

run_case() {  # name, generator arguments...
  local name=$1; shift
  python3 "$gen" "$work/$name.set" "$@"
  mkdir "$work/$name"
  (cd "$work/$name" && "$bin" "../$name.set/liste.xml" aide > messages.raw)
  sed 's/^Quorvane - compiled on .*$/<banner>/' "$work/$name/messages.raw" > "$work/$name/messages"
  rm "$work/$name/messages.raw"
  mv "$work/$name.set/sommaire.html" "$work/$name.set/motscles.html" "$work/$name/"
}

run_case pages --pages 300 --seed 1
for kind in brs entities crlf spaces groups oneparent; do
  run_case "$kind" --kind "$kind" --scale 0.01
done

cd "$work"
if [ "$update" = --update ]; then
  find . -mindepth 2 -type f ! -path './*.set/*' | sed 's|^\./||' | LC_ALL=C sort \
    | xargs sha256sum > "$sums"
  echo "recorded $(wc -l < "$sums") checksums in $sums"
else
  sha256sum --check --quiet "$sums"
fi

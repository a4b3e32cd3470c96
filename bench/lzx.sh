#!/usr/bin/env bash
# The LZX encoder on Debian's sqlite3-doc pages, beside chmcmd: builds the
# help set as the consumer test does, compiles it with chmcmd (timed), and
# compresses, at 1 and 2 threads and chmcmd's window and reset interval:
#   - chmcmd's compressed section, rebuilt uncompressed from its files
#     (bench/chm_section.py), against chmcmd's compressed size of it;
#   - the pages alone, concatenated in list order.
#
#   bench/lzx.sh [--repeat N]
# Needs fp-utils (chmcmd), p7zip-full, python3-chm, libmspack-dev, sqlite3-doc.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
repeat=3
[ "${1:-}" = --repeat ] && repeat=$2
doc=${QUORVANE_DOC_DIR:-/usr/share/doc/sqlite3}
build=$root/build/bench-release
cmake -S "$root" -B "$build" --preset release -DQUORVANE_BENCH=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target quorvane qv_lzx_bench >/dev/null

work=$root/build/bench-data/sqlite-chm
source "$root/bench/sqlite_set.sh"
lay_sqlite_set "$work" "$doc"
cd "$work"
"$build/quorvane" liste.xml doc >quorvane.log

echo "machine: $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "${#pages[@]} pages of $doc"
/usr/bin/time -f "chmcmd: %e s wall, %U s user, %S s system" chmcmd doc.hhp >chmcmd.log 2>time.log
tail -n 1 time.log
# Debian's python3-chm is for Debian's own interpreter.
read -r window reset compressed \
  < <(/usr/bin/python3 "$root/bench/chm_section.py" doc.chm section.bin)
echo
echo "chmcmd's section:"
"$build/bench/qv_lzx_bench" --repeat "$repeat" --window "$window" --reset "$reset" \
  --other "$compressed" section.bin
echo
echo "the pages in list order:"
"$build/bench/qv_lzx_bench" --repeat "$repeat" --window "$window" --reset "$reset" "${pages[@]}"

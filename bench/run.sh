#!/usr/bin/env bash
# Builds a Release binary with the benchmarks and reports, in one run: the
# whole run on 1k, 4k and 16k generated pages against the parse-only
# baseline, the hard cases (64 MB pages, large indexes), peak memory, the
# same sets and a 20 MB page read as HTML against XML, the pages read on
# several threads against one (bench/jobs.py), then the micro-benchmarks of
# the hot routines.
#
#   bench/run.sh [--quick] [--callgrind] [--repeat N] [--no-micro] [--old BIN]
#
#   --quick      sets of 250/1k/4k pages and hard cases at a quarter size
#   --callgrind  also count instructions (whole run against parse-only) under
#                valgrind, which does not depend on the machine's load (slow:
#                about 15 minutes for the full-size sets)
#   --repeat N   best of N runs of each measurement (default 3)
#   --old BIN    also time BIN (another build of the tool) against -j 1
#
# Generated sets are kept under build/bench-data and made again only when the
# generator changes. The build goes to build/bench-release.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
quick=0 callgrind=() repeat=3 micro=1 old=()
while [ $# -gt 0 ]; do
  case $1 in
    --quick) quick=1 ;;
    --callgrind) callgrind=(--callgrind) ;;
    --repeat) repeat=$2; shift ;;
    --no-micro) micro=0 ;;
    --old) old=(--old "$2"); shift ;;
    *) echo "unknown option: $1" >&2; exit 2 ;;
  esac
  shift
done

bash "$root/scripts/install-deps.sh" bench
build=$root/build/bench-release
cmake -S "$root" -B "$build" --preset release -DQUORVANE_BENCH=ON >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null

data=$root/build/bench-data
stamp=$(sha256sum "$root/bench/gen_helpset.py" | cut -c1-16)
generate() {  # name, generator arguments...
  local dir=$data/$1; shift
  if [ "$(cat "$dir/.stamp" 2>/dev/null)" != "$stamp $*" ]; then
    rm -rf "$dir"
    python3 "$root/bench/gen_helpset.py" "$dir" "$@"
    echo "$stamp $*" > "$dir/.stamp"
  fi
  sets+=("$(basename "$dir")=$dir")
}

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //')"
echo "date: $(date -u '+%Y-%m-%d %H:%M UTC'), commit $(git -C "$root" rev-parse --short HEAD 2>/dev/null || echo "(no git)")"
echo

# --quick sets have names of their own, so that they never replace the full ones.
if [ $quick = 1 ]; then sizes=(250 1000 4000) names=(q250 q1k q4k) scale=0.25 prefix=q-
else sizes=(1000 4000 16000) names=(1k 4k 16k) scale=1 prefix=; fi

sets=()
for i in 0 1 2; do generate "${names[$i]}" --pages "${sizes[$i]}" --seed 1; done
echo "== help sets (best of $repeat; ratio = whole run / parse-only)"
python3 "$root/bench/measure.py" --bin "$build/quorvane" --baseline "$build/bench/qv_parse_baseline" \
  --repeat "$repeat" --per-page ${callgrind[@]+"${callgrind[@]}"} \
  --checksums "$root/bench/outputs.sha256" "${sets[@]}"

sets=()
for kind in brs entities crlf spaces groups oneparent; do
  generate "$prefix$kind" --kind "$kind" --scale "$scale"
done
echo
echo "== hard cases (best of $repeat; ratio = whole run / parse-only of the same pages)"
python3 "$root/bench/measure.py" --bin "$build/quorvane" --baseline "$build/bench/qv_parse_baseline" \
  --repeat "$repeat" ${callgrind[@]+"${callgrind[@]}"} --checksums "$root/bench/outputs.sha256" \
  "${sets[@]}"

sets=()
for i in 2 1 0; do sets+=("${names[$i]}=$data/${names[$i]}"); done
echo
echo "== pages read as HTML against XML (best of $repeat; ratios = HTML / XML; the largest set's"
echo "   pages also joined into one 20 MB page)"
python3 "$root/bench/html_vs_xml.py" --bin "$build/quorvane" --repeat "$repeat" --concat 20 "${sets[@]}"
# Four 16 MB pages of 250k unclosed <br> (hard links to the quarter-size
# hard case's page): what reading pages ahead costs in memory when pages are
# large.
sets=()
generate q-brs --kind brs --scale 0.25
big=$data/q-brs-x4
if [ ! -f "$big/liste.xml" ] || [ "$big/pages/p1.html" -ot "$data/q-brs/pages/brs00.html" ]; then
  rm -rf "$big" && mkdir -p "$big/pages"
  entries=
  for i in 1 2 3 4; do
    ln "$data/q-brs/pages/brs00.html" "$big/pages/p$i.html"
    entries="$entries<file name=\"pages/p$i.html\"/>"
  done
  echo "<files title=\"Pages de 1M br\">$entries</files>" > "$big/liste.xml"
fi
echo
echo "== threads: -j 1, -j 2, the default and --check against the parse-only baseline (best of $repeat)"
python3 "$root/bench/jobs.py" --bin "$build/quorvane" --baseline "$build/bench/qv_parse_baseline" \
  --repeat "$repeat" ${old[@]+"${old[@]}"} "${names[0]}=$data/${names[0]}" \
  "${names[1]}=$data/${names[1]}" "${names[2]}=$data/${names[2]}" "$(basename "$big")=$big"

if [ $micro = 1 ]; then
  echo
  echo "== micro-benchmarks"
  "$build/bench/qv_micro_bench" --benchmark_min_time=0.05
fi

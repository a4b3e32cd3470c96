#!/usr/bin/env bash
# The compiled help written by the tool beside chmcmd, on Debian's sqlite3-doc
# pages read as HTML (the help set the LZX bench builds): a plain run, a
# --chm run at -j 1 and -j 2, and chmcmd on the project the run wrote. The
# cost of the compiled help is the --chm run less the plain run. Best of N
# (CPU seconds, wall seconds) for each, and the ratios of one run.
#
#   bench/chm_vs_chmcmd.sh [--repeat N]
# Needs fp-utils (chmcmd) and sqlite3-doc.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
repeat=3
[ "${1:-}" = --repeat ] && repeat=$2
doc=${QUORVANE_DOC_DIR:-/usr/share/doc/sqlite3}
build=$root/build/bench-release
cmake -S "$root" -B "$build" --preset release >/dev/null
cmake --build "$build" -j"$(nproc)" --target quorvane >/dev/null

work=$root/build/bench-data/sqlite-chm-run
source "$root/bench/sqlite_set.sh"
lay_sqlite_set "$work" "$doc"
cd "$work"

echo "machine: $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "${#pages[@]} pages of $doc, best of $repeat"
export SOURCE_DATE_EPOCH=1700000000
python3 - "$build/quorvane" "$repeat" <<'PY'
import os, subprocess, sys, time

quorvane, repeat = sys.argv[1], int(sys.argv[2])

def timed(command):
    start = time.perf_counter()
    process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(process.pid, 0)
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("%s failed" % " ".join(command))
    return usage.ru_utime + usage.ru_stime, time.perf_counter() - start

runs = {
    "plain run -j 1": [quorvane, "-j", "1", "liste.xml", "doc"],
    "--chm run -j 1": [quorvane, "-j", "1", "--chm", "liste.xml", "doc"],
    "--chm run -j 2": [quorvane, "-j", "2", "--chm", "liste.xml", "doc"],
    "chmcmd": ["chmcmd", "doc.hhp"],
}
best = {name: (float("inf"), float("inf")) for name in runs}
for _ in range(repeat):
    for name, command in runs.items():
        cpu, wall = timed(command)
        best[name] = (min(best[name][0], cpu), min(best[name][1], wall))
for name, (cpu, wall) in best.items():
    print("%-16s %7.2f s CPU %7.2f s wall" % (name, cpu, wall))
plain, chm1, chm2, chmcmd = (best[n] for n in runs)
print("compiled help at -j 1 (--chm less plain): %.2f s CPU, %.2f s wall"
      % (chm1[0] - plain[0], chm1[1] - plain[1]))
print("  against chmcmd: %.3f of its CPU, %.3f of its wall"
      % ((chm1[0] - plain[0]) / chmcmd[0], (chm1[1] - plain[1]) / chmcmd[1]))
print("--chm run wall, -j 1 / -j 2: %.2f" % (chm1[1] / chm2[1]))
PY
size() { stat -c %s "$1"; }
"$build/quorvane" -j 1 --chm liste.xml doc >/dev/null 2>&1 || true
cp doc.chm quorvane.chm
chmcmd doc.hhp >/dev/null 2>&1
echo "sizes: quorvane $(size quorvane.chm) bytes, chmcmd $(size doc.chm) bytes"

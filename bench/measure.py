#!/usr/bin/env python3
"""Runs the tool and the parse-only baseline side by side on generated help
sets and prints one table of times, ratios and peak memory.

    measure.py --bin QUORVANE --baseline QV_PARSE_BASELINE --repeat R \
               [--checksums FILE] NAME=DIR ...

Every figure is the best of R runs, the runs of the tool and of the baseline
interleaved, so that both meet the same load on a shared machine. The whole
run is the tool's process from start to exit (wall time, and CPU time: user
plus system, less disturbed by other processes); the parse-only time is
TinyXML alone parsing the same pages after normalisation, inside the
baseline program (wall and CPU). ratio = whole_ms / parse_ms, cpu_r =
cpu_ms / pcpu_ms. Peak memory is each process's max RSS (GNU time).

With --callgrind, both are also run once under valgrind's callgrind and the
ratio of instructions is printed: the tool's whole process against the
baseline's parseAll() alone. Instruction counts do not depend on the load of
the machine.
"""
import argparse
import hashlib
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

OUTPUTS = ["aide.hhp", "aide.hhc", "aide.hhk"]  # beside the list file, as the tool runs there
TEMPLATE_OUTPUTS = ["sommaire.html", "motscles.html"]


def run(command, cwd, stdout):
    """Wall seconds, CPU seconds (user + system) and max RSS (KiB) of one
    process. The RSS comes from GNU time, a small process: the kernel's peak
    of a child counts its life before exec too, which for a child forked from
    Python is Python's size. The CPU time of the time process includes the
    command's, which it waited for."""
    with tempfile.NamedTemporaryFile(mode="r") as rss:
        start = time.perf_counter()
        process = subprocess.Popen(["/usr/bin/time", "-f", "%M", "-o", rss.name] + command,
                                   cwd=cwd, stdout=stdout, stderr=subprocess.PIPE)
        err = process.stderr.read()
        _, status, usage = os.wait4(process.pid, 0)
        wall = time.perf_counter() - start
        code = os.waitstatus_to_exitcode(status)
        if code != 0:
            sys.exit("%s failed (%d): %s" % (" ".join(command), code,
                                             err.decode(errors="replace")))
        return wall, usage.ru_utime + usage.ru_stime, int(rss.read().split()[-1])


def outputs_digest(set_dir):
    digest = hashlib.sha256()
    for path in [os.path.join(set_dir, n) for n in OUTPUTS + TEMPLATE_OUTPUTS]:
        with open(path, "rb") as f:
            digest.update(os.path.basename(path).encode() + b"\0" + f.read())
    return digest.hexdigest()


def largest_page(set_dir):
    pages = os.path.join(set_dir, "pages")
    return max(os.path.getsize(os.path.join(pages, n)) for n in os.listdir(pages))


def set_bytes(set_dir):
    pages = os.path.join(set_dir, "pages")
    return sum(os.path.getsize(os.path.join(pages, n)) for n in os.listdir(pages))


def callgrind_instructions(command, cwd, extra):
    out = os.path.join(tempfile.gettempdir(), "qv-callgrind.%d.out" % os.getpid())
    subprocess.run(["valgrind", "--tool=callgrind", "--callgrind-out-file=" + out] + extra
                   + command, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   check=True)
    with open(out) as f:
        for line in f:
            if line.startswith("summary:") or line.startswith("totals:"):
                return int(line.split()[1])
    sys.exit("no instruction count in " + out)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", required=True)
    parser.add_argument("--baseline", required=True)
    parser.add_argument("--repeat", type=int, default=3)
    parser.add_argument("--checksums")
    parser.add_argument("--callgrind", action="store_true")
    parser.add_argument("--per-page", action="store_true",
                        help="compare the per-page time of each set with the first one")
    parser.add_argument("sets", nargs="+")
    args = parser.parse_args()
    args.bin, args.baseline = os.path.abspath(args.bin), os.path.abspath(args.baseline)

    expected = {}
    if args.checksums and os.path.exists(args.checksums):
        with open(args.checksums) as f:
            for line in f:
                if line.strip() and not line.startswith("#"):
                    name, digest = line.split()
                    expected[name] = digest

    header = ("%-10s %6s %6s %9s %8s %8s %9s %6s %8s %8s %7s %7s %7s" %
              ("set", "pages", "MB", "whole_ms", "us/page", "norm_ms", "parse_ms", "ratio",
               "cpu_ms", "pcpu_ms", "cpu_r", "rss_MB", "base_MB"))
    print(header)
    per_page = {}
    pages_of = {}
    failures = 0
    for item in args.sets:
        name, set_dir = item.split("=", 1)
        set_dir = os.path.abspath(set_dir)
        listing = os.path.join(set_dir, "liste.xml")
        work = tempfile.mkdtemp(prefix="qvbench.")
        try:
            whole, cpu, rss, base_rss = float("inf"), float("inf"), 0, 0
            parse_ms = parse_cpu_ms = normalise_ms = float("inf")
            pages = 0
            for _ in range(args.repeat):
                # Run beside the list file, so that no path of this machine
                # gets into the outputs and their digests hold anywhere.
                with open(os.path.join(work, "messages.txt"), "wb") as log:
                    wall, seconds, peak = run([args.bin, "liste.xml", "aide"], set_dir, log)
                whole, cpu, rss = min(whole, wall), min(cpu, seconds), max(rss, peak)
                with tempfile.TemporaryFile() as report:
                    _, _, peak = run([args.baseline, listing, "1"], work, report)
                    report.seek(0)
                    fields = dict(re.findall(r"(\w+)=([\d.]+)", report.read().decode()))
                base_rss = max(base_rss, peak)
                parse_ms = min(parse_ms, float(fields["parse_ms"]))
                parse_cpu_ms = min(parse_cpu_ms, float(fields["parse_cpu_ms"]))
                normalise_ms = min(normalise_ms, float(fields["normalise_ms"]))
                pages = int(fields["pages"])
            whole_ms = whole * 1000
            per_page[name] = whole_ms / pages
            pages_of[name] = pages
            print("%-10s %6d %6.1f %9.1f %8.1f %8.1f %9.1f %6.2f %8.1f %8.1f %7.2f %7.1f %7.1f" % (
                name, pages, set_bytes(set_dir) / 2**20, whole_ms, 1000 * whole_ms / pages,
                normalise_ms, parse_ms, whole_ms / parse_ms, cpu * 1000, parse_cpu_ms,
                cpu * 1000 / parse_cpu_ms, rss / 1024, base_rss / 1024), flush=True)
            print("  largest page %.1f MB; peak RSS / largest page %.1f" % (
                largest_page(set_dir) / 2**20, rss * 1024 / largest_page(set_dir)))
            digest = outputs_digest(set_dir)
            if name in expected and expected[name] != digest:
                print("  OUTPUT CHANGED for %s: %s (expected %s)" % (name, digest, expected[name]))
                failures += 1
            elif name not in expected:
                print("  outputs of %s: %s" % (name, digest))
            if args.callgrind:
                tool = callgrind_instructions([args.bin, "liste.xml", "aide"], set_dir, [])
                base = callgrind_instructions([args.baseline, listing, "1"], work,
                                              ["--toggle-collect=*parseAll*"])
                print("  instructions: whole run %.1f M, parse-only %.1f M, ratio %.2f" %
                      (tool / 1e6, base / 1e6, tool / base), flush=True)
        finally:
            shutil.rmtree(work, ignore_errors=True)
    names = list(per_page)
    if args.per_page and len(names) > 1:
        for name in names[1:]:
            print("per-page time %s / %s: %.2f" % (name, names[0],
                                                   per_page[name] / per_page[names[0]]))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

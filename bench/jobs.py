#!/usr/bin/env python3
"""Runs the tool with its pages read on one thread and on several, side by
side with the parse-only baseline, and prints the times, peak memory and the
ratios the threads are held to.

    jobs.py --bin QUORVANE --baseline QV_PARSE_BASELINE [--old OTHER_QUORVANE]
            [--repeat R] NAME=DIR ...

For each set, R rounds, each running in turn: OTHER_QUORVANE (a build to
compare with, without -j), -j 1, -j 2, the default -j, --check with the
default -j, and the baseline (TinyXML alone parsing the normalised pages).
Figures are the best of the R rounds (wall and CPU, user + system) and the
highest peak RSS. Ratios: "default/parse" the default run's wall time over
the baseline's parse; "j1/j2" the speed-up of -j 2; "check/run" --check over
the default run; "rss j2/j1" and "rss def/j1" the peak memory against -j 1;
"j1/old" -j 1 against OTHER_QUORVANE (wall and CPU).
"""
import argparse
import os
import re
import subprocess

from timing import timed



def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--bin", required=True)
    parser.add_argument("--baseline", required=True)
    parser.add_argument("--old")
    parser.add_argument("--repeat", type=int, default=5)
    parser.add_argument("sets", nargs="+", metavar="NAME=DIR")
    args = parser.parse_args()
    tool = os.path.abspath(args.bin)
    variants = [("j1", [tool, "-j", "1", "liste.xml", "aide"]),
                ("j2", [tool, "-j", "2", "liste.xml", "aide"]),
                ("default", [tool, "liste.xml", "aide"]),
                ("check", [tool, "--check", "liste.xml"])]
    if args.old:
        variants.insert(0, ("old", [os.path.abspath(args.old), "liste.xml", "aide"]))
    print("%-8s %-8s %9s %9s %8s" % ("set", "variant", "wall_ms", "cpu_ms", "rss_MB"))
    per_page = {}
    for item in args.sets:
        name, directory = item.split("=", 1)
        best = {v: [float("inf"), float("inf"), 0.0] for v, _ in variants + [("parse", None)]}
        pages = 1
        for _ in range(args.repeat):
            for variant, command in variants:
                wall, cpu, rss = timed(command, directory, (0, 1, 2) if variant == "check" else (0,))
                b = best[variant]
                b[0], b[1], b[2] = min(b[0], wall), min(b[1], cpu), max(b[2], rss)
            out = subprocess.run([os.path.abspath(args.baseline), "liste.xml", "1"], cwd=directory,
                                 capture_output=True, text=True, check=True).stdout
            fields = dict(re.findall(r"(\w+)=([\d.]+)", out))
            b = best["parse"]
            b[0] = min(b[0], float(fields["parse_ms"]) / 1000)
            b[1] = min(b[1], float(fields["parse_cpu_ms"]) / 1000)
            pages = int(fields["pages"])
        for variant, b in best.items():
            print("%-8s %-8s %9.1f %9.1f %8.1f" % (name, variant, b[0] * 1000, b[1] * 1000, b[2]))
        ratio = lambda a, b, i: best[a][i] / best[b][i]
        line = ("%s: default/parse %.2f (cpu %.2f), j1/j2 %.2f, check/run %.2f, "
                "rss j2/j1 %.2f, rss def/j1 %.2f" % (
                    name, ratio("default", "parse", 0), ratio("default", "parse", 1),
                    ratio("j1", "j2", 0), ratio("check", "default", 0),
                    ratio("j2", "j1", 2), ratio("default", "j1", 2)))
        if args.old:
            line += ", j1/old %.2f (cpu %.2f)" % (ratio("j1", "old", 0), ratio("j1", "old", 1))
        print(line, flush=True)
        per_page[name] = best["default"][0] / pages
    names = list(per_page)
    for other in names[1:]:
        print("per-page time (default -j) %s / %s: %.2f" % (other, names[0],
                                                           per_page[other] / per_page[names[0]]))


if __name__ == "__main__":
    main()

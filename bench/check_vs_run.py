#!/usr/bin/env python3
"""Times a check (quorvane --check) against a run of the tool on the same
help sets, best of R runs each, the two interleaved.

    check_vs_run.py --bin QUORVANE [--repeat R] NAME=DIR ...

A run writes its files beside the list file (base name "aide", as
measure.py runs it). cpu = user + system time of the process; ratio =
check / run. The check's exit status (0, 1 or 2) is not a failure.
"""
import argparse
import os

from timing import timed



def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--bin", required=True)
    parser.add_argument("--repeat", type=int, default=5)
    parser.add_argument("sets", nargs="+", metavar="NAME=DIR")
    args = parser.parse_args()
    binary = os.path.realpath(args.bin)
    print("%-12s %10s %10s %10s %10s %8s %8s" % ("set", "run_ms", "check_ms", "run_cpu",
                                                 "check_cpu", "ratio", "cpu_r"))
    for item in args.sets:
        name, directory = item.split("=", 1)
        run = [float("inf")] * 2
        check = [float("inf")] * 2
        for _ in range(args.repeat):
            run = [min(a, b) for a, b in zip(run, timed([binary, "liste.xml", "aide"],
                                                        directory, {0}))]
            check = [min(a, b) for a, b in zip(check, timed([binary, "--check", "liste.xml"],
                                                            directory, {0, 1, 2}))]
        print("%-12s %10.1f %10.1f %10.1f %10.1f %8.2f %8.2f"
              % (name, run[0] * 1000, check[0] * 1000, run[1] * 1000, check[1] * 1000,
                 check[0] / run[0], check[1] / run[1]))


if __name__ == "__main__":
    main()

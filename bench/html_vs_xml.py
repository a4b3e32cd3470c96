#!/usr/bin/env python3
"""Times the tool reading help sets as HTML (pages="html") against reading
the same sets as XML, best of R runs each, the two interleaved.

    html_vs_xml.py --bin QUORVANE [--repeat R] [--concat MB] NAME=DIR ...

Each DIR holds a liste.xml (as gen_helpset.py writes it); a copy of it with
pages="html", liste-html.xml, is written beside it. The XML run writes its
files under the base name "aide" (as measure.py), the HTML run under
"aide-html". --concat MB also joins the pages of the first set, in list
order and again as often as needed, into one page of about MB megabytes
(DIR-concat/page.html) and measures that page the same way.

cpu = user + system time; rss = peak resident memory; the ratios are
HTML / XML. "same" tells whether both readings wrote the same contents and
index files.
"""
import argparse
import os
import re
import sys

from timing import timed



def html_list(directory):
    with open(os.path.join(directory, "liste.xml"), "rb") as source:
        text = source.read()
    text, count = re.subn(rb"(<files\b[^>]*?)(\s*/?>)", rb'\1 pages="html"\2', text, count=1)
    if count != 1:
        sys.exit("%s/liste.xml has no files element" % directory)
    with open(os.path.join(directory, "liste-html.xml"), "wb") as out:
        out.write(text)


def concatenate(directory, megabytes):
    """One page made of the set's pages, in list order, up to the size."""
    with open(os.path.join(directory, "liste.xml"), "rb") as source:
        names = re.findall(rb'<file name="([^"]+)"', source.read())
    target = directory.rstrip("/") + "-concat"
    os.makedirs(target, exist_ok=True)
    size = 0
    with open(os.path.join(target, "page.html"), "wb") as out:
        while size < megabytes * 1024 * 1024:  # the pages again, as often as it takes
            for name in names:
                with open(os.path.join(directory, name.decode()), "rb") as page:
                    body = page.read()
                out.write(body)
                size += len(body)
                if size >= megabytes * 1024 * 1024:
                    break
    with open(os.path.join(target, "liste.xml"), "wb") as out:
        out.write(b'<?xml version="1.0" encoding="UTF-8"?>\r\n'
                  b'<files title="Concat"><file name="page.html"/></files>\r\n')
    return target, size


def same_outputs(directory):
    for suffix in (".hhc", ".hhk"):
        with open(os.path.join(directory, "aide" + suffix), "rb") as xml, \
                open(os.path.join(directory, "aide-html" + suffix), "rb") as html:
            if xml.read() != html.read():
                return "no"
    return "yes"


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--bin", required=True)
    parser.add_argument("--repeat", type=int, default=3)
    parser.add_argument("--concat", type=float, default=0)
    parser.add_argument("sets", nargs="+", metavar="NAME=DIR")
    args = parser.parse_args()
    binary = os.path.realpath(args.bin)
    sets = [item.split("=", 1) for item in args.sets]
    if args.concat:
        target, size = concatenate(sets[0][1], args.concat)
        sets.append(("%s-%.0fMB" % (sets[0][0], size / 1024 / 1024), target))
    print("%-14s %9s %9s %9s %9s %8s %8s %7s %7s %6s %5s" % (
        "set", "xml_ms", "html_ms", "xml_cpu", "html_cpu", "xml_MB", "html_MB",
        "ratio", "cpu_r", "rss_r", "same"))
    for name, directory in sets:
        html_list(directory)
        xml = [float("inf")] * 3
        html = [float("inf")] * 3
        for _ in range(args.repeat):
            xml = [min(a, b) for a, b in zip(xml, timed([binary, "liste.xml", "aide"], directory))]
            html = [min(a, b) for a, b in zip(html, timed([binary, "liste-html.xml", "aide-html"],
                                                          directory))]
        print("%-14s %9.1f %9.1f %9.1f %9.1f %8.1f %8.1f %7.2f %7.2f %6.2f %5s" % (
            name, xml[0] * 1000, html[0] * 1000, xml[1] * 1000, html[1] * 1000, xml[2], html[2],
            html[0] / xml[0], html[1] / xml[1], html[2] / xml[2], same_outputs(directory)))


if __name__ == "__main__":
    main()

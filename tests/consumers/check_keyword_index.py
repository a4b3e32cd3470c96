#!/usr/bin/env python3
"""Compiles the example help set with the tool itself and reads its binary
keyword index back with Free Pascal's chmls, a reader the tool's authors did
not write.

    check_keyword_index.py QUORVANE EXAMPLES_DIR WORK_DIR

Copies EXAMPLES_DIR into WORK_DIR, runs `quorvane --chm aide/liste.xml aide`
there, then `chmls extractindex aide.chm`, and checks that the keywords come
back in the .hhk's order, at the .hhk's depths, with the .hhk's pages and
"see also" texts. One difference is expected: occurrences of one keyword that
follow each other in the .hhk are one keyword of the binary index, with the
pages of all of them (each page once).
"""

import html
import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import helpsite  # noqa: E402
from helpsite import tool  # noqa: E402

BASE = "aide"


def as_shown(text):
    """chmls writes the keywords in its own 8-bit code page or in UTF-8:
    compare them as Latin-1 can show them."""
    return text.encode("latin-1", "replace").decode("latin-1")


def keywords(entries, decode):
    """(depth, name, pages, see also) of each keyword, consecutive
    occurrences of one keyword with pages made one."""
    found = []
    for entry in entries:
        name = as_shown(decode(entry.value("Name")))
        pages = [decode(v) for v in entry.values("Local")]
        see_also = [as_shown(decode(v)) for v in entry.values("See Also")]
        last = found[-1] if found else None
        if last and pages and last[2] and last[:2] == (entry.depth, name):
            last[2].extend(page for page in pages if page not in last[2])
            continue
        found.append((entry.depth, name, pages, see_also))
    return found


def unescaped(encoding):
    """Decodes a sitemap value: the .hhk's code page, or chmls's output."""

    def decode(raw):
        try:
            text = raw.decode("utf-8") if encoding == "chmls" else raw.decode(encoding)
        except UnicodeDecodeError:
            text = raw.decode("latin-1")
        return html.unescape(text)

    return decode


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    quorvane, examples, work = (os.path.abspath(arg) for arg in sys.argv[1:])
    chmls = tool("chmls")
    shutil.rmtree(work, ignore_errors=True)
    shutil.copytree(examples, work)
    done = subprocess.run([quorvane, "--chm", f"{BASE}/liste.xml", BASE], cwd=work,
                          stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    if done.returncode != 0:
        sys.exit(f"quorvane --chm exited with {done.returncode}:\n"
                 + done.stdout.decode("cp1252", "replace"))
    read_back = os.path.join(work, "read_back.hhk")
    done = subprocess.run([chmls, "extractindex", f"{BASE}.chm", read_back], cwd=work,
                          stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    if done.returncode != 0 or not os.path.exists(read_back):
        sys.exit(f"chmls extractindex failed ({done.returncode}):\n"
                 + done.stdout.decode("latin-1"))

    with open(os.path.join(work, f"{BASE}.hhk"), "rb") as f:
        expected = keywords(helpsite.read_sitemap(f.read()), unescaped("cp1252"))
    with open(read_back, "rb") as f:
        got = keywords(helpsite.read_sitemap(f.read()), unescaped("chmls"))
    print(f"{len(expected)} keywords in {BASE}.hhk, {len(got)} read back by chmls")
    for number, (want, have) in enumerate(zip(expected, got), start=1):
        if want != have:
            sys.exit(f"FAULT: keyword {number}: the .hhk gives {want}, chmls reads {have}")
    if len(expected) != len(got):
        sys.exit("FAULT: chmls reads another number of keywords")
    print("the binary index reads back in the .hhk's order, with its pages")


if __name__ == "__main__":
    main()

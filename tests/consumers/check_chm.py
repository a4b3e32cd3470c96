#!/usr/bin/env python3
"""Compiles the example help set with a real help compiler and reads the
result back with two independent CHM readers.

    check_chm.py QUORVANE EXAMPLES_DIR WORK_DIR

Copies EXAMPLES_DIR into WORK_DIR, runs the tool there as
`quorvane aide/liste.xml aide`, compiles aide.hhp with chmcmd, lists aide.chm
with chmls and unpacks it with extract_chmLib, then checks what was stored
against what the tool wrote.
"""

import html
import os
import re
import shutil
import struct
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import helpsite  # noqa: E402
from helpsite import fault, tool  # noqa: E402

BASE = "aide"
LANGUAGE_ID = 0x402
# #SYSTEM record codes
SYSTEM_DEFAULT_TOPIC, SYSTEM_TITLE, SYSTEM_LANGUAGE = 2, 3, 4

# chmcmd looks fragments up under the page's name without its folder, so every
# fragment into a page in a subfolder is reported as undefined. It reports the
# fragment as the sitemap writes it, references not decoded.
ANCHOR_ERROR = re.compile(r"^Error: Anchor (\S+?)#(\S+) undefined; first use (.*)$")


def run(args, cwd):
    done = subprocess.run(args, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    return done.returncode, done.stdout


def system_records(data):
    """The records of a #SYSTEM file: {code: data}."""
    (version,) = struct.unpack_from("<I", data, 0)
    records, offset = {}, 4
    while offset + 4 <= len(data):
        code, length = struct.unpack_from("<HH", data, offset)
        records[code] = data[offset + 4:offset + 4 + length]
        offset += 4 + length
    if offset != len(data):
        fault(f"#SYSTEM (version {version}) ends inside a record")
    return records


def without_contexts(project):
    """A project file's bytes without its [ALIAS] and [MAP] sections."""
    kept, skipping = [], False
    for line in project.splitlines(keepends=True):
        if line.startswith(b"["):
            skipping = line.strip().upper() in (b"[ALIAS]", b"[MAP]")
        if not skipping:
            kept.append(line)
    return b"".join(kept)


def main(argv):
    if len(argv) != 4:
        sys.exit(__doc__)
    quorvane, examples, work = (os.path.abspath(arg) for arg in argv[1:])
    chmcmd, chmls, extract = tool("chmcmd"), tool("chmls"), tool("extract_chmLib")

    shutil.rmtree(work, ignore_errors=True)
    shutil.copytree(examples, work, ignore=shutil.ignore_patterns("*.chm", "*.log", "*.hh?"))
    status, output = run([quorvane, BASE + "/liste.xml", BASE], work)
    if status != 0:
        sys.exit(f"quorvane exited with {status}:\n{output.decode('cp1252')}")

    # chmcmd keeps an alias only when it names a page of [FILES] as written (no
    # anchor), then stops on the [MAP] number of any other ("context ... not
    # found!"): it compiles the project without those two sections.
    with open(os.path.join(work, BASE + ".hhp"), "rb") as source:
        project = source.read()
    with open(os.path.join(work, BASE + "-chmcmd.hhp"), "wb") as copy:
        copy.write(without_contexts(project))
    status, output = run([chmcmd, BASE + "-chmcmd.hhp"], work)
    compiler_lines = output.decode("utf-8", errors="replace").splitlines()
    print(f"--- chmcmd {BASE}-chmcmd.hhp (exit {status})")
    print("\n".join(compiler_lines))
    print("---")
    chm = os.path.join(work, BASE + ".chm")
    if status != 0 or not os.path.isfile(chm):
        sys.exit(f"chmcmd exited with {status} and left {'a' if os.path.isfile(chm) else 'no'} {BASE}.chm")

    status, listing = run([chmls, "-n", "list", BASE + ".chm"], work)
    stored = {line[1:] for line in listing.decode("utf-8", errors="replace").splitlines()
              if line.startswith("/") and not line.endswith("/")}
    if status != 0 or not stored:
        sys.exit(f"chmls could not list {BASE}.chm (exit {status})")
    unpacked = os.path.join(work, "unpacked")
    status, output = run([extract, BASE + ".chm", unpacked], work)
    if status != 0:
        sys.exit(f"extract_chmLib exited with {status}:\n{output.decode(errors='replace')}")
    inside = helpsite.Site(unpacked)
    ours = helpsite.Site(work)

    # The pages of [FILES], stored unchanged.
    options, files = helpsite.read_project(ours.read(BASE + ".hhp"))
    for line in files:
        page = line.replace("\\", "/")
        if page not in stored:
            fault(f"[FILES] page {page} is not listed by chmls")
        elif not inside.exists(page):
            fault(f"[FILES] page {page} was not unpacked by extract_chmLib")
        elif inside.read(page) != ours.read(page):
            fault(f"[FILES] page {page} is stored with other bytes")
    print(f"{len(files)} pages of [FILES] checked")

    # The contents and index files, stored byte for byte, and their targets.
    for sitemap in (options.get("Contents file"), options.get("Index file")):
        if not sitemap or not inside.exists(sitemap):
            fault(f"{sitemap} is not in the .chm")
            continue
        if inside.read(sitemap) != ours.read(sitemap):
            fault(f"{sitemap} stored in the .chm differs from ours")
        entries = helpsite.read_sitemap(inside.read(sitemap))
        # A sitemap is HTML: its values are read with their references decoded.
        targets = [html.unescape(local.decode("cp1252"))
                   for entry in entries for local in entry.values("Local")]
        for local in targets:
            page = local.split("#", 1)[0]
            if page not in stored:
                fault(f"{sitemap}: Local {local}: {page} is not in the .chm")
                continue
            problem = inside.problem(local)
            if problem:
                fault(f"{sitemap}: Local {problem}")
        print(f"{sitemap}: {len(entries)} entries, {len(targets)} Local targets checked")

    # The binary contents that readers use in place of the .hhc, rebuilt by chmls.
    status, output = run([chmls, "extracttoc", BASE + ".chm", "binary-toc.hhc"], work)
    binary_toc = os.path.join(work, "binary-toc.hhc")
    if status != 0 or not os.path.isfile(binary_toc):
        fault(f"chmls could not read the binary contents back (exit {status})")
    else:
        def shape(data):
            return [(entry.depth, entry.name, entry.values("Local"), entry.values("ImageNumber"))
                    for entry in helpsite.read_sitemap(data)]
        theirs, expected = shape(ours.read("binary-toc.hhc")), shape(ours.read(options["Contents file"]))
        if theirs != expected:
            first = next(i for i, pair in enumerate(zip(theirs + [None], expected + [None])) if pair[0] != pair[1])
            fault(f"binary contents entry {first + 1} reads back as {theirs[first:first + 1]}, "
                  f"expected {expected[first:first + 1]}")
        print(f"binary contents: {len(theirs)} entries read back by chmls")

    # What the compiler recorded about the project.
    records = system_records(inside.read("#SYSTEM"))
    if SYSTEM_LANGUAGE not in records or len(records[SYSTEM_LANGUAGE]) < 4:
        fault("#SYSTEM has no language record")
    else:
        (language,) = struct.unpack_from("<I", records[SYSTEM_LANGUAGE], 0)
        print(f"language id stored: 0x{language:X}")
        if language != LANGUAGE_ID:
            fault(f"language id 0x{language:X}, expected 0x{LANGUAGE_ID:X}")
    default_topic = records.get(SYSTEM_DEFAULT_TOPIC, b"").rstrip(b"\0").decode("cp1252")
    if default_topic not in stored:
        fault(f"default topic {default_topic!r} is not a page of the .chm")
    title = records.get(SYSTEM_TITLE, b"").rstrip(b"\0")
    if title != options.get("Title", "").encode("cp1252"):
        fault(f"title stored as {title!r}")

    # The compiler's own verdict: it exits 0 after errors, so read what it said.
    excused = 0
    for line in compiler_lines:
        anchor = ANCHOR_ERROR.match(line)
        if anchor and "/" in anchor.group(1) and inside.exists(anchor.group(1)) \
                and html.unescape(anchor.group(2)) in inside.anchors(anchor.group(1)):
            excused += 1
        elif re.match(r"^\s*(error|warning|fatal)", line, re.I):
            fault(f"chmcmd: {line}")
    print(f"{excused} 'Anchor ... undefined' errors about anchors that the stored pages do have")

    if helpsite.faults:
        print(f"{len(helpsite.faults)} faults")
        return 1
    print("the .chm holds every page, our contents and index files, and every target they name")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

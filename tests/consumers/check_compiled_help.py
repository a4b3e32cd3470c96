#!/usr/bin/env python3
"""Builds help sets with `quorvane --chm` and reads the .chm back with readers
nobody here wrote: chmlib (lookup by name through pychm, and extract_chmLib's
walk), 7-Zip and Free Pascal's chmls.

    check_compiled_help.py QUORVANE EXAMPLES_DIR WORK_DIR [DOC_DIR]

The example set of EXAMPLES_DIR, and when DOC_DIR (default
/usr/share/doc/sqlite3) exists, its pages read as HTML. Every file the .chm
holds must read back with the bytes of the file it was taken from; the
contents and index come back in the order of the .hhc and .hhk; the title,
default topic, contents and index files are those of the project; and, when
the .chm has a full-text index, searching a word finds the pages holding it.
"""

import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import helpsite  # noqa: E402
from helpsite import fault, tool  # noqa: E402

try:
    import chm.chm
    import chm.extra
except ImportError:
    sys.exit("pychm not found: install Debian's python3-chm (scripts/install-deps.sh test)")


def run(args, cwd):
    done = subprocess.run(args, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    return done.returncode, done.stdout


def walk(root):
    for folder, _, names in os.walk(root):
        for name in names:
            yield os.path.relpath(os.path.join(folder, name), root).replace(os.sep, "/")


def same_file(a, b):
    with open(a, "rb") as first, open(b, "rb") as second:
        return first.read() == second.read()


def sitemap_shape(data, key):
    return [(entry.depth, entry.values(key)) for entry in helpsite.read_sitemap(data)]


def check(work, base, words):
    """The .chm written in work as base.chm, against the files around it."""
    chm_path = os.path.join(work, base + ".chm")
    name = f"{base}.chm"
    stored = []
    # chmls writes its banner on standard error, in the middle of the list.
    done = subprocess.run([tool("chmls"), "-n", "list", chm_path], cwd=work,
                          stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    status, listing = done.returncode, done.stdout
    for line in listing.decode("utf-8", errors="replace").splitlines():
        if line.startswith("/") and not line.startswith("/#") and not line.startswith("/$"):
            stored.append(line[1:])
    if status != 0 or not stored:
        return fault(f"{name}: chmls could not list it (exit {status})")

    # chmlib's lookup by name, its walk, and 7-Zip's own reader.
    handle = chm.chm.CHMFile()
    if not handle.LoadCHM(chm_path.encode()):
        return fault(f"{name}: chmlib could not open it")
    walked, unpacked = os.path.join(work, "chmlib"), os.path.join(work, "7z")
    for folder in (walked, unpacked):
        shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(walked)
    run([tool("extract_chmLib"), chm_path, walked], work)
    status, output = run([tool("7z"), "x", "-y", "-o" + unpacked, chm_path], work)
    if status != 0:
        fault(f"{name}: 7z x exited with {status}: {output.decode(errors='replace')[-500:]}")
    for path in stored:
        with open(os.path.join(work, path), "rb") as source:
            expected = source.read()
        found, unit = handle.ResolveObject(b"/" + path.encode())
        if found != 0 or handle.RetrieveObject(unit)[1] != expected:
            fault(f"{name}: chmlib's lookup of /{path} differs")
        for reader, root in (("extract_chmLib", walked), ("7z x", unpacked)):
            copy = os.path.join(root, path)
            if not os.path.isfile(copy) or open(copy, "rb").read() != expected:
                fault(f"{name}: {reader} gives /{path} otherwise")
    print(f"{name}: {len(stored)} files read back by chmlib (lookup and walk) and 7-Zip")

    # The project's settings, as the viewer reads them.
    options, pages = helpsite.read_project(open(os.path.join(work, base + ".hhp"), "rb").read())
    home = options.get("Default topic") or pages[0]
    wanted = {"title": options.get("Title", "").encode("cp1252"),
              "home": b"/" + home.replace("\\", "/").encode("cp1252"),
              "topics": b"/" + options["Contents file"].encode(),
              "index": b"/" + options["Index file"].encode()}
    for field, value in wanted.items():
        if getattr(handle, field) != value:
            fault(f"{name}: chmlib reads {field} {getattr(handle, field)!r}, not {value!r}")
    for page in pages:
        if page.replace("\\", "/") not in stored:
            fault(f"{name}: the page {page} is not in it")

    # chmls rebuilds the contents: same entries, same order. (The binary index
    # merges a keyword's consecutive occurrences: check_keyword_index.py.)
    for command, sitemap, key in (("extracttoc", options["Contents file"], "Local"),):
        out = os.path.join(work, command + ".out")
        status, _ = run([tool("chmls"), command, chm_path, out], work)
        if status != 0 or not os.path.isfile(out):
            fault(f"{name}: chmls {command} exited with {status}")
            continue
        theirs = [value for _, values in sitemap_shape(open(out, "rb").read(), key)
                  for value in values]
        ours = [value for _, values in
                sitemap_shape(open(os.path.join(work, sitemap), "rb").read(), key)
                for value in values]
        if theirs != ours:
            fault(f"{name}: chmls {command} gives {len(theirs)} entries out of the order of "
                  f"{sitemap} ({len(ours)}): first {theirs[:3]} instead of {ours[:3]}")
    print(f"{name}: contents in the order of the .hhc")

    # Searching, once the .chm has a full-text index.
    if handle.ResolveObject(b"/$FIftiMain")[0] != 0:
        print(f"{name}: no full-text index: searching not checked")
        return
    for word, page in words:
        _, results = chm.extra.search(handle.file, word.encode("utf-8"), 1, 0)
        urls = [url.decode("utf-8", errors="replace") for url in (results or {}).values()]
        if not any(url.lstrip("/").startswith(page) for url in urls):
            fault(f"{name}: searching {word!r} does not find {page} ({urls[:5]})")
    print(f"{name}: {len(words)} words searched")


def main(argv):
    if len(argv) not in (4, 5):
        sys.exit(__doc__)
    quorvane, examples, work = (os.path.abspath(arg) for arg in argv[1:4])
    doc_dir = argv[4] if len(argv) == 5 else "/usr/share/doc/sqlite3"
    env = dict(os.environ, SOURCE_DATE_EPOCH="1700000000")

    example = os.path.join(work, "example")
    shutil.rmtree(example, ignore_errors=True)
    shutil.copytree(examples, example, ignore=shutil.ignore_patterns("*.chm", "*.log", "*.hh?"))
    done = subprocess.run([quorvane, "--chm", "aide/liste.xml", "aide"], cwd=example, env=env,
                          stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    if done.returncode != 0:
        sys.exit(f"quorvane --chm exited with {done.returncode}:\n{done.stdout.decode('cp1252')}")
    # The same bytes again, on one thread and on two.
    for jobs in ("1", "2"):
        again = os.path.join(work, "example-j" + jobs)
        shutil.rmtree(again, ignore_errors=True)
        shutil.copytree(examples, again, ignore=shutil.ignore_patterns("*.chm", "*.log", "*.hh?"))
        subprocess.run([quorvane, "-j", jobs, "--chm", "aide/liste.xml", "aide"], cwd=again,
                       env=env, stdout=subprocess.DEVNULL, check=True)
        if not same_file(os.path.join(again, "aide.chm"), os.path.join(example, "aide.chm")):
            fault(f"aide.chm written with -j {jobs} has other bytes")
    check(example, "aide", [("étiquettes", "aide/pages/etiquettes.html"),
                            ("synchronisation", "aide/pages/synchronisation.html")])

    if os.path.isdir(doc_dir):
        sqlite = os.path.join(work, "sqlite")
        shutil.rmtree(sqlite, ignore_errors=True)
        os.makedirs(sqlite)
        os.symlink(doc_dir, os.path.join(sqlite, "doc"))
        pages = sorted(f"doc/{n}" for n in os.listdir(doc_dir) if n.endswith(".html"))
        pages += sorted(f"doc/c3ref/{n}" for n in os.listdir(os.path.join(doc_dir, "c3ref"))
                        if n.endswith(".html"))
        with open(os.path.join(sqlite, "liste.xml"), "w") as out:
            out.write('<files title="Documentation" pages="html">\n')
            out.writelines(f'  <file name="{page}"/>\n' for page in pages)
            out.write("</files>\n")
        done = subprocess.run([quorvane, "--chm", "liste.xml", "doc"], cwd=sqlite, env=env,
                              stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        if done.returncode != 0:
            sys.exit(f"quorvane --chm on {doc_dir} exited with {done.returncode}")
        check(sqlite, "doc", [("vacuum", "doc/lang_vacuum.html"), ("sqlite3_open", "doc/c3ref/")])
    else:
        print(f"{doc_dir} not found: the sqlite set is not checked")

    if helpsite.faults:
        sys.exit(f"{len(helpsite.faults)} fault(s)")
    print("every check passed")


if __name__ == "__main__":
    main(sys.argv)

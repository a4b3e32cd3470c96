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
import posixpath
import shutil
import struct
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


def check_contexts(work, base, handle, stored):
    """#IVB and #STRINGS as chmlib reads them: each number of the project's
    [ALIAS] and [MAP] leads to its page, anchor kept, and the page is in the
    .chm with that anchor; no #IVB without an [ALIAS] section."""
    name = f"{base}.chm"
    project = open(os.path.join(work, base + ".hhp"), "rb").read()
    expected = helpsite.read_context_map(project, work)
    found, unit = handle.ResolveObject(b"/#IVB")
    if expected is None:
        if found == 0:
            fault(f"{name}: #IVB without contexts in the project")
        print(f"{name}: no contexts: #IVB not checked")
        return
    if found != 0:
        return fault(f"{name}: no #IVB for the contexts {sorted(expected)}")
    ivb = handle.RetrieveObject(unit)[1]
    strings = handle.RetrieveObject(handle.ResolveObject(b"/#STRINGS")[1])[1]
    words = struct.unpack(f"<{len(ivb) // 4}I", ivb)
    if len(ivb) % 8 != 4 or words[0] != len(ivb) - 4:
        return fault(f"{name}: #IVB of {len(ivb)} bytes says {words[0]} follow")
    pairs = list(zip(words[1::2], words[2::2]))
    theirs = {number: strings[offset:strings.index(b"\0", offset)] for number, offset in pairs}
    ours = {}
    for number, target in expected.items():
        page, hash_, anchor = target.partition(b"#")
        ours[number] = posixpath.normpath(page.decode("utf-8")).encode("utf-8") + hash_ + anchor
    if len(pairs) != len(theirs) or theirs != ours:
        return fault(f"{name}: #IVB gives {theirs}, not {ours}")
    site = helpsite.Site(work)
    for number, topic in theirs.items():
        page, _, anchor = topic.partition(b"#")
        page, anchor = page.decode("utf-8"), anchor.decode("cp1252")
        if page not in stored:
            fault(f"{name}: context {number} opens {page}, not in it")
        elif anchor and anchor not in site.anchors(page):
            fault(f"{name}: context {number} opens {page} at {anchor!r}, which it lacks")
    print(f"{name}: {len(theirs)} context numbers lead to their topics")


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
        if posixpath.normpath(page.replace("\\", "/")) not in stored:
            fault(f"{name}: the page {page} is not in it")

    check_contexts(work, base, handle, stored)

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


# A help set with contexts: several per element, on the page itself and at
# anchors (one outside ASCII), a name numbered by no header, a name marked
# twice, and a page the list names through "./".
CONTEXT_SET = {
    "aide/liste.xml": """<files title="Contextes">
  <map name="ids.h"/>
  <file name="pages/fichier.html"/>
  <file name="./pages/edition.html"/>
</files>
""",
    "aide/ids.h": """#define IDH_FICHIER 1000
#define IDH_ENREGISTRER 0x3E9
#define IDH_SAUVER 1002
#define IDH_EDITION 2000
#define IDH_ETE 2001
""",
    "aide/pages/fichier.html": """<html><body ctx="IDH_FICHIER">
<h1 id="titre">Fichier</h1>
<h2 id="enregistrer" ctx="IDH_ENREGISTRER IDH_SAUVER">Enregistrer</h2>
<p ctx="IDH_SANS_NUMERO">Fermer</p>
</body></html>
""",
    "aide/pages/edition.html": """<html><body>
<h1 ctx="IDH_EDITION IDH_FICHIER">Édition</h1>
<h2 id="été" ctx="IDH_ETE">Été</h2>
</body></html>
""",
}


def build(quorvane, folder, base, jobs):
    """Runs quorvane --chm on folder's aide/liste.xml; the run's output on failure."""
    env = dict(os.environ, SOURCE_DATE_EPOCH="1700000000")
    done = subprocess.run([quorvane, "-j", jobs, "--chm", "aide/liste.xml", base], cwd=folder,
                          env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    if done.returncode != 0:
        sys.exit(f"quorvane --chm exited with {done.returncode}:\n{done.stdout.decode('cp1252')}")


def lay_out(folder, files):
    shutil.rmtree(folder, ignore_errors=True)
    for path, text in files.items():
        os.makedirs(os.path.dirname(os.path.join(folder, path)), exist_ok=True)
        with open(os.path.join(folder, path), "w", encoding="utf-8") as out:
            out.write(text)


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

    for jobs in ("1", "2"):
        lay_out(os.path.join(work, "contexts-j" + jobs), CONTEXT_SET)
        build(quorvane, os.path.join(work, "contexts-j" + jobs), "contextes", jobs)
    contexts = os.path.join(work, "contexts-j2")
    if not same_file(os.path.join(work, "contexts-j1", "contextes.chm"),
                     os.path.join(contexts, "contextes.chm")):
        fault("contextes.chm has other bytes with -j 1 and -j 2")
    check(contexts, "contextes", [("enregistrer", "aide/pages/fichier.html")])

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

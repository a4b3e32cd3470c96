#!/usr/bin/env python3
"""Searches the full-text index of a compiled help with chmlib's search
(python3-chm), as a reader that nobody here wrote sees it.

    check_fts.py QUORVANE WORK_DIR [SQLITE_DOC_DIR]

Writes a few pages and their list file into WORK_DIR, compiles them with
`quorvane --chm`, and checks that each word finds exactly the pages that
show it. With SQLITE_DOC_DIR, compiles sqlite3-doc's pages too (many leaf
nodes, long lists) and checks that every page a word finds holds it.
"""

import glob
import os
import re
import subprocess
import sys

try:
    import chm.chm
    import chm.extra
except ImportError:
    sys.exit("python3-chm not found: run scripts/install-deps.sh test")

PAGES = {
    "accents.html": "<html><head><title>Équipe</title></head><body>"
                    "<p>Un équipement naïf, l’élève et l'<b>é</b>cole.</p>"
                    "<script>var cache = 'caché';</script><style>.masque {}</style>"
                    "<!-- commentaire --><p>&eacute;t&eacute; &#233;crit</p></body></html>",
    "plain.html": "<html><head><title>Plain words</title></head><body>"
                  "<p>Straße, ΟΔΌΣ and 日本語のテキスト; version 3.2 of the equipement.</p>"
                  "<template><p>hidden</p></template></body></html>",
    "title.html": "<html><head><title>Sauvegarde</title></head><body><p>Rien.</p></body></html>",
}

# (query, whole words, titles only, the pages it finds)
SEARCHES = [
    ("équipement", 1, 0, {"accents.html"}),
    ("naïf", 1, 0, {"accents.html"}),
    ("élève", 1, 0, {"accents.html"}),
    ("école", 1, 0, {"accents.html"}),
    ("été", 1, 0, {"accents.html"}),
    ("écrit", 1, 0, {"accents.html"}),
    ("équipe", 1, 0, {"accents.html"}),
    ("équipe", 1, 1, {"accents.html"}),
    ("équip", 0, 0, {"accents.html"}),
    ("equipement", 1, 0, {"plain.html"}),
    ("straße", 1, 0, {"plain.html"}),
    ("οδός", 1, 0, {"plain.html"}),
    ("日本語", 1, 0, {"plain.html"}),
    ("3.2", 1, 0, {"plain.html"}),
    ("sauvegarde", 1, 0, {"title.html"}),
    ("sauvegarde", 1, 1, {"title.html"}),
    ("rien", 1, 1, set()),
    ("cache", 1, 0, set()),
    ("masque", 1, 0, set()),
    ("commentaire", 1, 0, set()),
    ("hidden", 1, 0, set()),
    ("title", 1, 0, set()),
]

faults = []


def compile_pages(quorvane, work, language, pages):
    with open(os.path.join(work, "liste.xml"), "w", encoding="utf-8") as listing:
        listing.write(f'<files title="Recherche" language="{language}" pages="html">\n')
        listing.writelines(f'  <file name="{page}"/>\n' for page in pages)
        listing.write("</files>\n")
    subprocess.run([quorvane, "--chm", "liste.xml", "help"], cwd=work, check=True,
                   stdout=subprocess.DEVNULL)
    path = os.path.join(work, "help.chm")
    opened = chm.chm.CHMFile()
    if not opened.LoadCHM(path.encode()):
        sys.exit(f"chmlib cannot open {path}")
    return opened


def found(opened, query, whole, titles):
    _, results = chm.extra.search(opened.file, query.encode(), whole, titles)
    return {url.decode() for url in results.values()}


def check_pages(quorvane, work):
    for name, text in PAGES.items():
        with open(os.path.join(work, name), "w", encoding="utf-8") as page:
            page.write(text)
    opened = compile_pages(quorvane, work, "fr-FR", sorted(PAGES))
    for query, whole, titles, expected in SEARCHES:
        got = found(opened, query, whole, titles)
        if got != expected:
            faults.append(f"{query!r} (whole {whole}, titles {titles}): {sorted(got)}, "
                          f"expected {sorted(expected)}")


def check_sqlite(quorvane, work, doc_dir):
    # The pages through a link, so that the list names them inside its folder.
    work = os.path.join(work, "sqlite")
    os.makedirs(work, exist_ok=True)
    if not os.path.islink(os.path.join(work, "doc")):
        os.symlink(doc_dir, os.path.join(work, "doc"))
    pages = sorted(os.path.relpath(page, work) for page in
                   glob.glob(os.path.join(work, "doc", "*.html")) +
                   glob.glob(os.path.join(work, "doc", "c3ref", "*.html")))
    opened = compile_pages(quorvane, work, "en-US", pages)
    for query in ["vacuum", "double", "zeroblob", "sqlite3_prepare_v2", "pragma", "the"]:
        got = found(opened, query, 1, 0)
        pattern = re.compile(re.escape(query), re.IGNORECASE)
        holding = {p for p in pages if pattern.search(
            open(os.path.join(work, p), encoding="utf-8", errors="replace").read())}
        if not got or not got <= holding:
            faults.append(f"sqlite {query!r}: {len(got)} pages found, "
                          f"{len(got - holding)} of them without the word")


def main():
    quorvane, work = sys.argv[1], sys.argv[2]
    os.makedirs(work, exist_ok=True)
    check_pages(quorvane, work)
    if len(sys.argv) > 3:
        check_sqlite(quorvane, work, sys.argv[3])
    for text in faults:
        print("FAULT:", text)
    print(f"{len(SEARCHES)} searches, {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Link checker for a help set as the tool leaves it.

    check_links.py DIR BASENAME

DIR is the folder the tool ran in (where BASENAME.hhp, .hhc and .hhk are).
Checks that the project file names existing pages, that every "Local" of the
contents and index files names an existing page and, with a #fragment, an
element of that page with that id (or an <a> with that name), that every
"See Also" names a keyword of the index, and that every link, image, frame and
stylesheet of every HTML page under DIR points at something that exists.
Exits 1 and lists the faults when there are any.
"""

import html
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import helpsite  # noqa: E402


def check(root, base):
    """(problems, number of targets checked) for the help set in root."""
    site = helpsite.Site(root)
    problems = []
    checked = 0

    def target(where, url, referrer=""):
        nonlocal checked
        checked += 1
        problem = site.problem(url, referrer)
        if problem:
            problems.append(f"{where}: {problem}")

    project = base + ".hhp"
    if not site.exists(project):
        return [f"{project}: missing"], 0
    options, files = helpsite.read_project(site.read(project))
    for key in ("Contents file", "Index file", "Default topic"):
        if key in options:
            target(f"{project} {key}", options[key].replace("\\", "/"))
    for line in files:
        target(f"{project} [FILES]", line.replace("\\", "/"))

    for sitemap in (base + ".hhc", base + ".hhk"):
        if not site.exists(sitemap):
            problems.append(f"{sitemap}: missing")
            continue
        entries = helpsite.read_sitemap(site.read(sitemap))
        keywords = {entry.value("Name") for entry in entries}
        for entry in entries:
            where = f"{sitemap}:{entry.line}"
            locals_ = entry.values("Local")
            see_also = entry.values("See Also")
            if not locals_ and not (sitemap.endswith(".hhk") and see_also):
                problems.append(f"{where}: entry {entry.name!r} links nowhere")
            for local in locals_:
                target(where, html.unescape(local.decode("cp1252")))
            for name in see_also:
                checked += 1
                if name not in keywords:
                    problems.append(f"{where}: See Also {name.decode('cp1252')!r} names no keyword")

    for folder, _, names in os.walk(root):
        for name in sorted(names):
            if not name.lower().endswith((".html", ".htm")):
                continue
            page = os.path.relpath(os.path.join(folder, name), root).replace(os.sep, "/")
            _, links = helpsite.scan_page(site.read(page))
            for line, tag, url in links:
                target(f"{page}:{line} <{tag}>", url, page)
    return problems, checked


def main(argv):
    if len(argv) != 3:
        sys.exit(__doc__)
    problems, checked = check(argv[1], argv[2])
    for problem in problems:
        print(problem)
    print(f"{checked} targets checked, {len(problems)} broken")
    return 1 if problems or not checked else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

"""Reading a help set as its consumers see it: the sitemap files (.hhc, .hhk),
the project file (.hhp) and the anchors and links of HTML pages.

Standard library only; shared by the link checker and the help compiler test.
"""

import html
import html.parser
import os
import posixpath
import re
import shutil
import sys
import urllib.parse

_PARAM = re.compile(rb'<param\s+name="([^"]*)"\s+value="([^"]*)"\s*/?>', re.I)


class SitemapEntry:
    """One <LI> <OBJECT type="text/sitemap"> of a contents or index file."""

    def __init__(self, depth, line):
        self.depth = depth
        self.line = line
        self.params = []  # (name, raw value bytes), in file order

    def values(self, name):
        return [v for n, v in self.params if n.lower() == name.lower()]

    def value(self, name):
        found = self.values(name)
        return found[0] if found else None

    @property
    def name(self):
        raw = self.value("Name")
        return None if raw is None else html.unescape(raw.decode("cp1252"))


def read_sitemap(data):
    """The entries of a sitemap file, in file order, with their list depth
    (1 for the entries of the outer <UL>)."""
    entries = []
    depth = 0
    current = None
    for number, line in enumerate(data.split(b"\n"), start=1):
        text = line.strip()
        upper = text.upper()
        if upper.startswith(b"<UL"):
            depth += 1
        elif upper.startswith(b"</UL"):
            depth -= 1
        if b"<OBJECT" in upper and b'TYPE="TEXT/SITEMAP"' in upper:
            current = SitemapEntry(depth, number)
            entries.append(current)
        for match in _PARAM.finditer(line):
            if current is not None:
                current.params.append((match.group(1).decode("ascii"), match.group(2)))
        if b"</OBJECT" in upper:
            current = None
    return entries


def read_project(data):
    """The [OPTIONS] of a project file as a dict of raw byte values, and the
    [FILES] lines."""
    options, files, section = {}, [], None
    for line in data.decode("cp1252").splitlines():
        line = line.strip()
        if line.startswith("[") and line.endswith("]"):
            section = line[1:-1].upper()
        elif not line:
            continue
        elif section == "OPTIONS" and "=" in line:
            key, _, value = line.partition("=")
            options[key.strip()] = value
        elif section == "FILES":
            files.append(line)
    return options, files


# "#define NAME NUMBER", decimal or "0x" hexadecimal, then at most a comment:
# octal numbers, expressions and macros with parameters number nothing.
_DEFINE = re.compile(r"^\s*#\s*define\s+([A-Za-z_]\w*)\s+(0[xX][0-9a-fA-F]+|0|[1-9]\d*)"
                     r"\s*(//.*|/\*.*)?$")


def _c_number(text):
    value = int(text, 16) if text[:2].lower() == "0x" else int(text)
    return value if value < 2**32 else None


def read_context_map(data, root):
    """What a help compiler makes of a project file's [ALIAS] and [MAP]: each
    context number with the target of its name (first alias of a name, first
    definition of a number's name, first name of a number), as raw bytes with
    "/" separators. The headers [MAP] includes are read relative to root.
    None when the project has no [ALIAS] section."""
    aliases, numbers, section = None, {}, None
    for line in data.split(b"\n"):
        line = line.strip()
        if line.startswith(b"[") and line.endswith(b"]"):
            section = line[1:-1].upper()
            if section == b"ALIAS" and aliases is None:
                aliases = {}
        elif section == b"ALIAS" and b"=" in line:
            name, _, target = line.partition(b"=")
            aliases.setdefault(name.strip().decode("cp1252"), target.strip().replace(b"\\", b"/"))
        elif section == b"MAP" and line.lower().startswith(b"#include"):
            header = line[len(b"#include"):].strip().decode("cp1252").replace("\\", "/")
            with open(os.path.join(root, *header.split("/")), "rb") as f:
                for text in f.read().decode("cp1252").splitlines():
                    match = _DEFINE.match(text)
                    if match and _c_number(match.group(2)) is not None:
                        numbers.setdefault(match.group(1), _c_number(match.group(2)))
    if aliases is None:
        return None
    result = {}
    for name, target in aliases.items():
        if name in numbers:
            result.setdefault(numbers[name], target)
    return result


class _PageScan(html.parser.HTMLParser):
    LINK_ATTRIBUTES = {"a": "href", "area": "href", "link": "href", "img": "src",
                       "frame": "src", "iframe": "src", "script": "src"}

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.anchors = set()
        self.links = []  # (line, tag, url)

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        # A fragment finds an element by its id, or an <a> by its name.
        if attrs.get("id"):
            self.anchors.add(attrs["id"])
        if tag == "a" and attrs.get("name"):
            self.anchors.add(attrs["name"])
        wanted = self.LINK_ATTRIBUTES.get(tag)
        if wanted and attrs.get(wanted) is not None:
            self.links.append((self.getpos()[0], tag, attrs[wanted]))

    handle_startendtag = handle_starttag


def scan_page(data):
    """(anchors, links) of an HTML page: the ids and <a> names, and every
    (line, tag, url) of a link, image, frame or script."""
    scan = _PageScan()
    scan.feed(data.decode("utf-8", errors="replace"))
    scan.close()
    return scan.anchors, scan.links


def is_external(url):
    scheme = urllib.parse.urlsplit(url).scheme
    return bool(scheme) and scheme.lower() != "file"


class Site:
    """A tree of files addressed by '/'-separated paths relative to its root,
    with a cache of the anchors of its pages."""

    def __init__(self, root):
        self.root = root
        self._anchors = {}

    def exists(self, path):
        return os.path.isfile(os.path.join(self.root, *path.split("/")))

    def read(self, path):
        with open(os.path.join(self.root, *path.split("/")), "rb") as f:
            return f.read()

    def anchors(self, path):
        if path not in self._anchors:
            self._anchors[path] = scan_page(self.read(path))[0]
        return self._anchors[path]

    def problem(self, url, referrer=""):
        """None when url (relative to the file referrer) names a file of the site and,
        when it has a fragment, an element of that page with that id or name;
        otherwise a sentence that says what is wrong."""
        parts = urllib.parse.urlsplit(url)
        if parts.scheme or parts.netloc:
            return None if is_external(url) else f"{url}: absolute file URL"
        target = urllib.parse.unquote(parts.path)
        if target.startswith("/"):
            return f"{url}: absolute path"
        if target:
            path = posixpath.normpath(posixpath.join(posixpath.dirname(referrer), target))
        else:
            path = referrer
        if path.startswith("../") or path == "..":
            return f"{url}: leaves the help set"
        if not self.exists(path):
            return f"{url}: no file {path}"
        fragment = urllib.parse.unquote(parts.fragment)
        if fragment and fragment not in self.anchors(path):
            return f"{url}: {path} has no element with id or name \"{fragment}\""
        return None


# The faults a check found, printed as they are found.
faults = []


def fault(text):
    faults.append(text)
    print("FAULT:", text)


def tool(name):
    """The path of a program on PATH; the check ends, saying how to install it, without it."""
    path = shutil.which(name)
    if not path:
        sys.exit(f"{name} not found on PATH: run scripts/install-deps.sh test")
    return path

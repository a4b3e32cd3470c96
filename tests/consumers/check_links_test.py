#!/usr/bin/env python3
"""The link checker must find each kind of broken target, and only those."""

import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_links  # noqa: E402

HEADER = b'<!DOCTYPE HTML PUBLIC "-//IETF//DTD HTML//EN">\r\n<HTML>\r\n<BODY>\r\n'


def sitemap(*entries):
    """A sitemap with one first-level entry per (name, param, value)."""
    lines = [b"<UL>"]
    for name, param, value in entries:
        lines += [b'\t<LI> <OBJECT type="text/sitemap">',
                  b'\t\t<param name="Name" value="' + name + b'">']
        if param:
            lines.append(b'\t\t<param name="' + param + b'" value="' + value + b'">')
        lines.append(b"\t\t</OBJECT>")
    return HEADER + b"\r\n".join(lines + [b"</UL>", b"</BODY></HTML>", b""])


PAGE = (b'<html><body><h1 id="titre">T</h1><h2 name="nom">N</h2>'
        b'<a name="ancre"></a><p id="p&eacute;">x</p></body></html>')

GOOD = {
    "aide.hhp": b"[OPTIONS]\r\nContents file=aide.hhc\r\nIndex file=aide.hhk\r\n"
                b"Default topic=d/p.html\r\n\r\n[FILES]\r\nd\\p.html\r\nd/q r.html\r\n",
    "aide.hhc": sitemap((b"P", b"Local", b"d/p.html"), (b"A", b"Local", b"d/p.html#ancre")),
    "aide.hhk": sitemap((b"G", b"See Also", b"G"), (b"k", b"Local", b"d/q r.html")),
    "d/p.html": PAGE,
    "d/q r.html": b'<a href="p.html#p%C3%A9">x</a><a href="#top" id="top"></a>'
                  b'<a href="https://example.invalid/">w</a><img src="../d/p.html">',
}

CASES = [
    # (what, files changed from GOOD, expected faults as (file, words))
    ("the intact set", {}, []),
    ("a contents target without its page",
     {"aide.hhc": sitemap((b"P", b"Local", b"d/absent.html"))}, [("aide.hhc:5", "no file d/absent.html")]),
    ("an index fragment nobody carries",
     {"aide.hhk": sitemap((b"k", b"Local", b"d/p.html#ailleurs"))}, [("aide.hhk:5", 'no element with id or name "ailleurs"')]),
    ("a name on a heading is no anchor",
     {"aide.hhc": sitemap((b"P", b"Local", b"d/p.html#nom"))}, [("aide.hhc:5", '"nom"')]),
    ("a contents entry without a target",
     {"aide.hhc": sitemap((b"P", None, None))}, [("aide.hhc:5", "links nowhere")]),
    ("a See Also naming no keyword",
     {"aide.hhk": sitemap((b"G", b"See Also", b"H"))}, [("aide.hhk:5", "names no keyword")]),
    ("a [FILES] line without its page",
     {"aide.hhp": GOOD["aide.hhp"] + b"d\\absent.html\r\n"}, [("aide.hhp [FILES]", "no file d/absent.html")]),
    ("a page link out of the help set",
     {"d/q r.html": b'<a href="../../x.html">x</a>'}, [("d/q r.html:1 <a>", "leaves the help set")]),
    ("a page link to a missing same-page anchor",
     {"d/q r.html": b'<p>\n<a href="#nulle">x</a>'}, [("d/q r.html:2 <a>", '"nulle"')]),
    ("a missing stylesheet",
     {"d/p.html": PAGE + b'<link rel="stylesheet" href="style.css">'}, [("d/p.html:1 <link>", "no file d/style.css")]),
]


class LinkCheckerTest(unittest.TestCase):
    def test_cases(self):
        for what, changes, expected in CASES:
            with self.subTest(what), tempfile.TemporaryDirectory() as root:
                for path, data in {**GOOD, **changes}.items():
                    os.makedirs(os.path.join(root, os.path.dirname(path)), exist_ok=True)
                    with open(os.path.join(root, path), "wb") as f:
                        f.write(data)
                problems, checked = check_links.check(root, "aide")
                self.assertGreater(checked, 0)
                self.assertEqual(len(problems), len(expected), problems)
                for problem, (where, words) in zip(problems, expected):
                    self.assertTrue(problem.startswith(where + ":"), problem)
                    self.assertIn(words, problem)


if __name__ == "__main__":
    unittest.main()

#!/usr/bin/env python3
"""Writes a synthetic help set: a list file, its pages, a contents template
and an index template, as authors write them (loose HTML, CR LF line ends).

    gen_helpset.py OUT_DIR --pages N [--seed S]     a normal help set
    gen_helpset.py OUT_DIR --kind KIND [--scale F]  one hard case:
        brs        one 64 MB page holding 1M unclosed <br>
        entities   one 64 MB page holding 1M named entities
        crlf       one 64 MB page of 1M CR LF lines
        spaces     one 64 MB page of headings whose text holds 100k
                   consecutive spaces and tabs
        groups     200k keywords under 50k groups (20 pages)
        oneparent  100k keywords under one parent, each looked up again
                   as the parent of a sub-keyword (20 pages)

The output depends on the arguments only (its own random generator, no
clock), so a fixed seed gives the same bytes on every machine. --scale
shrinks the hard cases (0.25 makes them a quarter of the size).
"""
import argparse
import os
import sys

CRLF = "\r\n"


class Rng:
    """A 64-bit linear congruential generator: the same numbers everywhere."""

    def __init__(self, seed):
        self.state = (seed * 0x9E3779B97F4A7C15 + 1) & 0xFFFFFFFFFFFFFFFF

    def below(self, n):
        self.state = (self.state * 6364136223846793005 + 1442695040888963407) & 0xFFFFFFFFFFFFFFFF
        return (self.state >> 33) % n

    def pick(self, items):
        return items[self.below(len(items))]

    def chance(self, percent):
        return self.below(100) < percent


# Words as authors type them: raw UTF-8 accents and named entities side by side.
WORDS = [
    "fichier", "dossier", "réglage", "pr&eacute;f&eacute;rence", "fenêtre", "menu",
    "barre d'outils", "&eacute;diteur", "modèle", "étiquette", "recherche", "index",
    "sommaire", "page", "lien", "image", "tableau", "colonne", "ligne", "cellule",
    "impression", "aper&ccedil;u", "export", "import", "sauvegarde", "restauration",
    "synchronisation", "compte", "mot de passe", "s&eacute;curit&eacute;", "clé", "raccourci",
    "clavier", "souris", "écran", "thème", "couleur", "police", "taille", "marge",
    "en-tête", "pied de page", "note", "carnet", "corbeille", "historique", "version",
    "licence", "mise &agrave; jour", "d&eacute;marrage", "arrêt", "erreur", "message",
    "alerte", "rappel", "calendrier", "tâche", "priorit&eacute;", "filtre", "tri",
]
KEYWORDS = [
    "fichier", "dossier", "réglage", "préférence", "fenêtre", "menu", "éditeur", "modèle",
    "étiquette", "recherche", "impression", "aperçu", "export", "import", "sauvegarde",
    "synchronisation", "compte", "sécurité", "clé", "raccourci", "clavier", "écran", "thème",
    "couleur", "police", "marge", "note", "carnet", "corbeille", "historique", "version",
    "licence", "mise à jour", "démarrage", "erreur", "message", "rappel", "calendrier",
    "tâche", "priorité", "filtre", "tri", "Œuvre", "coût", "naïf", "Été",
]
GROUPS = [
    "Fichiers", "Édition", "Affichage", "Outils", "Préférences", "Aide", "Notes",
    "Étiquettes", "Recherche", "Synchronisation", "Sécurité", "Impression",
]
ENTITIES = ["&eacute;", "&egrave;", "&agrave;", "&nbsp;", "&laquo;", "&raquo;", "&euro;",
            "&hellip;", "&rsquo;", "&copy;", "&ccedil;", "&ocirc;", "&oelig;", "&deg;"]


def sentence(rng, words=12):
    parts = []
    for _ in range(words):
        roll = rng.below(100)
        if roll < 8:
            parts.append(rng.pick(ENTITIES))
        elif roll < 10:
            parts.append("&lt;" + rng.pick(WORDS) + "&gt;")
        elif roll < 11:
            parts.append("Q&amp;R")
        elif roll < 12:
            parts.append("n&#176;" + str(rng.below(100)))
        else:
            parts.append(rng.pick(WORDS))
    text = " ".join(parts)
    return text[0].upper() + text[1:] + rng.pick([".", " !", "&nbsp;?", "&hellip;"])


def keyword_span(rng, serial):
    """One index keyword in one of the three forms of the ix attribute."""
    word = rng.pick(KEYWORDS)
    form = rng.below(3)
    if form == 0:
        return '<span ix="1">%s %d</span>' % (word, serial % 97)
    if form == 1:
        return '<b ix="%s|%s">%s</b>' % (rng.pick(GROUPS), word, word)
    return '<i ix="%s|1">%s <em>%d</em> </i>' % (rng.pick(GROUPS), word, serial % 89)


def page_text(rng, number, title):
    lines = [
        "<!DOCTYPE html>",
        '<html lang="fr">',
        "<head>",
        '  <meta charset="utf-8">',
        '  <meta name="author" content="Équipe de documentation">',
        "  <title>%s</title>" % title,
        '  <link rel="stylesheet" href="../style.css">',
        "</head>",
        "<body>",
        '<h1 id="titre" icon="%d">%s</h1>' % (number % 40, title),
    ]
    serial = number * 7
    for section in range(2 + rng.below(4)):
        level = 2 if section == 0 or rng.chance(60) else 3
        icon = ' icon="%d"' % rng.below(20) if rng.chance(30) else ""
        heading = " ".join(rng.pick(WORDS) for _ in range(1 + rng.below(4)))
        lines.append('<h%d id="s%d"%s>%s&nbsp;:</h%d>'
                     % (level, section, icon, heading.capitalize(), level))
        for _ in range(1 + rng.below(3)):
            body = [sentence(rng)]
            for _ in range(rng.below(3)):
                serial += 1
                body.append(keyword_span(rng, serial))
                body.append(sentence(rng, 8))
            if rng.chance(40):
                body.append('<img src="../images/i%d.png" alt="%s">' % (rng.below(50),
                                                                        rng.pick(WORDS)))
            if rng.chance(50):
                body.append("<br>" + CRLF + sentence(rng, 6))
            lines.append("<p>" + " ".join(body) + "</p>")
        if rng.chance(30):
            lines.append("<ul>")
            for _ in range(3):
                lines.append("  <li>%s</li>" % sentence(rng, 5))
            lines.append("</ul>")
        if rng.chance(20):
            lines.append('<p><a name="n%d">Note</a>&nbsp;: %s</p>' % (section, sentence(rng)))
    lines.append("<hr>")
    lines.append('<p class="pied">&copy; 2024 Quorvane.<br>Page %d.</p>' % number)
    lines.append("</body>")
    lines.append("</html>")
    return CRLF.join(lines) + CRLF


TEMPLATE = CRLF.join([
    "<!DOCTYPE html>",
    '<html lang="fr">',
    "<head>",
    '  <meta charset="utf-8">',
    "  <title>%s</title>",
    "</head>",
    "<body>",
    "  <h1>%s</h1>",
    '  <!-- <template target="main" /> -->',
    "</body>",
    "</html>",
]) + CRLF


def write(path, text):
    with open(path, "wb") as out:
        out.write(text.encode("utf-8"))


def write_list(out_dir, tree, title):
    """tree: list of (page name, children) in document order."""
    lines = ['<?xml version="1.0" encoding="UTF-8"?>', '<files title="%s">' % title]

    def emit(nodes, indent):
        for name, children in nodes:
            if children:
                lines.append('%s<file name="%s">' % (indent, name))
                emit(children, indent + "  ")
                lines.append("%s</file>" % indent)
            else:
                lines.append('%s<file name="%s"/>' % (indent, name))

    emit(tree, "  ")
    lines.append('  <table name="sommaire.tpl"/>')
    lines.append('  <index name="motscles.tpl"/>')
    lines.append("</files>")
    write(os.path.join(out_dir, "liste.xml"), CRLF.join(lines) + CRLF)
    write(os.path.join(out_dir, "sommaire.tpl"), TEMPLATE % ("Sommaire", "Sommaire"))
    write(os.path.join(out_dir, "motscles.tpl"), TEMPLATE % ("Index", "Mots cl&eacute;s"))


def normal_set(out_dir, pages, seed):
    rng = Rng(seed)
    os.makedirs(os.path.join(out_dir, "pages"), exist_ok=True)
    # Chapters of 16 pages: a chapter page, three section pages each with
    # four subsection pages below it.
    tree = []
    for number in range(pages):
        name = "pages/p%05d.html" % number
        if number % 16 == 0:
            tree.append((name, []))
        elif number % 4 == 0 or not tree or not tree[-1][1]:
            tree[-1][1].append((name, []))
        else:
            tree[-1][1][-1][1].append((name, []))
        title = "%s %d" % (rng.pick(WORDS).capitalize(), number)
        write(os.path.join(out_dir, name), page_text(rng, number, title))
    write_list(out_dir, tree, "Aide g&#233;n&#233;r&#233;e de Quorvane")


def big_page(lines_wanted, make_line, target_bytes):
    head = CRLF.join(["<!DOCTYPE html>", "<html>", "<head>", '<meta charset="utf-8">',
                      "<title>Grande page</title>", "</head>", "<body>",
                      '<h1 id="titre">Grande page</h1>', "<p>"]) + CRLF
    tail = "</p>" + CRLF + "</body>" + CRLF + "</html>" + CRLF
    body = []
    size = 0
    for i in range(lines_wanted):
        line = make_line(i)
        body.append(line)
        size += len(line.encode("utf-8"))
    text = head + "".join(body) + tail
    del body
    pad = target_bytes - len(text.encode("utf-8"))
    if pad > 0:  # fill up to the target size with one plain paragraph
        text = text[:-len(tail)] + "</p><p>" + ("x" * (pad - 7)) + tail
    return text


def hard_case(out_dir, kind, scale):
    os.makedirs(os.path.join(out_dir, "pages"), exist_ok=True)
    megabytes = int(64 * 1024 * 1024 * scale)
    million = int(1000000 * scale)
    pages = []
    if kind == "brs":
        pages.append(big_page(million, lambda i: "Ligne %07d d'un texte sans fin, coupée ici<br>" % i
                              + "\n", megabytes))
    elif kind == "entities":
        pages.append(big_page(million // 7, lambda i: "&eacute;t&eacute; &agrave; l&rsquo;"
                              "&eacute;cole, %07d cha&icirc;nes&nbsp;<b>gras</b> ..." % i + "\n",
                              megabytes))
    elif kind == "crlf":
        pages.append(big_page(million, lambda i: "Ligne %07d, fin de ligne Windows ....."
                              "..................." % i + CRLF, megabytes))
    elif kind == "spaces":
        blanks = (" \t" * 50000)[:100000]
        count = max(1, megabytes // 100100)
        pages.append(big_page(count, lambda i: '</p><h2 id="h%d">Titre%s%d</h2><p>' % (i, blanks, i)
                              + CRLF, megabytes))
    elif kind == "groups":
        total, groups, per_page = int(200000 * scale), int(50000 * scale), int(10000 * scale)
        for first in range(0, total, per_page):
            pages.append(big_page(per_page, lambda i, first=first: (
                '<span ix="Groupe %05d|mot-cl&eacute; %06d">x</span>'
                % ((first + i) % groups, first + i)) + CRLF, 0))
    elif kind == "oneparent":
        total, per_page = int(100000 * scale), int(5000 * scale)
        for first in range(0, total, per_page):
            def line(i, first=first):
                n = first + i
                text = '<span ix="Tout|mot %06d">x</span>' % n
                # A path through an existing keyword: a lookup among all of
                # Tout's children.
                text += '<span ix="Tout|mot %06d|1">d&eacute;tail %d</span>' % (n // 2, n)
                return text + CRLF
            pages.append(big_page(per_page, line, 0))
    else:
        sys.exit("unknown kind: " + kind)
    tree = []
    for number, text in enumerate(pages):
        name = "pages/%s%02d.html" % (kind, number)
        write(os.path.join(out_dir, name), text)
        tree.append((name, []))
    write_list(out_dir, tree, "Cas limite " + kind)


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("out_dir")
    parser.add_argument("--pages", type=int)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--kind")
    parser.add_argument("--scale", type=float, default=1.0)
    args = parser.parse_args()
    os.makedirs(args.out_dir, exist_ok=True)
    if args.kind:
        hard_case(args.out_dir, args.kind, args.scale)
    elif args.pages:
        normal_set(args.out_dir, args.pages, args.seed)
    else:
        parser.error("give --pages or --kind")


if __name__ == "__main__":
    main()

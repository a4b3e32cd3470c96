// The check of help sets held in memory: one row per kind of finding, with
// the files, the lines the check reports (its summary left out, the tool's
// words shown as a UTF-8 locale shows them) and its exit status.

#include "check/check_help_set.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "memory_file_reader.h"
#include "text/cp1252.h"

namespace qv {
namespace {

using Files = std::map<std::string, std::string>;

// A list file whose entries start on line 2.
std::string list(const std::string& entries, const std::string& files = "<files title=\"Aide\">") {
    return files + "\n" + entries + "</files>\n";
}

// A page with a contents entry and a keyword on line 1, body from line 2.
std::string page(const std::string& body) {
    return "<html><body><h1 id=\"haut\">Haut</h1><p ix=\"1\">mot</p>\n" + body +
           "\n</body></html>\n";
}

// The list naming p.html, and p.html holding body.
Files onePage(const std::string& body) {
    return {{"liste.xml", list("<file name=\"p.html\"/>\n")}, {"p.html", page(body)}};
}

struct CheckCase {
    const char* what;
    Files files;
    std::vector<std::string> lines;
    int status;
    std::string argument = "liste.xml";
    bool compiledHelp = false;
};

std::string utf16WithoutMark(const std::string& ascii) {
    std::string bytes;
    for (char c : ascii) bytes += std::string{c, '\0'};
    return bytes;
}

std::string repeat(const std::string& piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) text += piece;
    return text;
}

TEST(Check, OneRowPerFinding) {
    const CheckCase cases[] = {
        // The list file.
        {"unknown element, attributes unknown or miswritten, entry without name",
         {{"liste.xml", list("<fiel name=\"x\"/>\n<file Name=\"p.html\"/>\n<table/>\n",
                             "<files title=\"Aide\" lang=\"fr\">")}},
         {"liste.xml:1:1: avertissement: la liste ne nomme aucune page (<file name=\"...\"/>)",
          "liste.xml:1:21: avertissement: attribut « lang » inconnu sur <files> : ignoré",
          "liste.xml:2:1: avertissement: élément <fiel> inconnu : ignoré",
          "liste.xml:3:7: avertissement: attribut « Name » inconnu sur <file> : écrivez « name »",
          "liste.xml:4:1: avertissement: élément <table> sans attribut name : ignoré"},
         1},
        {"help title beyond code page 1252",
         {{"liste.xml", list("<file name=\"p.html\"/>\n", "<files title=\"Aide ✓\">")},
          {"p.html", page("")}},
         {"liste.xml:1:8: avertissement: caractère U+2713 absent du code page 1252 dans le "
          "titre de l'aide : il deviendra « ? »"},
         1},
        {"unknown language, at its attribute; every page is still checked",
         {{"liste.xml", list("<file name=\"p.html\"/>\n", "<files language=\"fr_FR\">")},
          {"p.html", page("<h3 id=\"t\">Saut</h3>")}},
         {"liste.xml:1:8: erreur: langue « fr_FR » inconnue : écrivez « fr-FR »",
          "p.html:2:1: avertissement: niveau de titre sauté (h1 puis h3) : l'entrée « [titre "
          "manquant] » apparaîtra dans la table des matières ; utilisez h2"},
         2},
        {"a language the tool does not know at all",
         {{"liste.xml", list("", "<files language=\"klingon\">")}},
         {"liste.xml:1:8: erreur: langue « klingon » inconnue : écrivez un identificateur comme "
          "0x40C ou une balise comme fr-FR"},
         2},
        {"list not well-formed: the entry left open",
         {{"liste.xml", list("<file name=\"p.html\">\n")}, {"p.html", page("")}},
         {"liste.xml:3:7: erreur: Error reading end tag. (élément <file> ouvert en 2:1 non fermé)"},
         2},
        {"list nested too deep: refused",
         {{"liste.xml", list(repeat("<x>", 300))}},
         {"liste.xml:2:766: erreur: Éléments imbriqués sur plus de 256 niveaux : liste refusée"},
         2},
        {"list missing", {}, {"liste.xml: erreur: Le fichier spécifié est introuvable"}, 2},
        {"list path through ..",
         {{"aide/../aide/liste.xml", list("<file name=\"p.html\"/>\n")},
          {"aide/../aide/p.html", page("")}},
         {"aide/../aide/liste.xml: avertissement: chemin de liste avec « .. » : il précédera "
          "le nom de chaque page dans le projet et le sommaire ; lancez quorvane depuis un dossier "
          "au-dessus de la liste, avec un chemin relatif"},
         1,
         "aide/../aide/liste.xml"},
        {"contents and index empty",
         {{"liste.xml", list("<file name=\"p.html\"/>\n")}, {"p.html", "<html><body/></html>"}},
         {"liste.xml:1:1: avertissement: sommaire vide : aucun titre h1 à h6 des pages n'a "
          "d'attribut id ou name",
          "liste.xml:1:1: avertissement: index vide : aucun élément des pages n'a d'attribut ix"},
         1},
        // Loading.
        {"missing page listed twice: its error once, the second entry noted",
         {{"liste.xml", list("<file name=\"absente.html\"/>\n<file name=\"absente.html\"/>\n")}},
         {"liste.xml:2:1: erreur: page « absente.html » : Le fichier spécifié est introuvable",
          "liste.xml:3:1: avertissement: page « absente.html » déjà listée en 2:1 : elle figurera "
          "deux fois dans le projet"},
         2},
        {"empty page",
         {{"liste.xml", list("<file name=\"p.html\"/>\n")}, {"p.html", ""}},
         {"liste.xml:2:1: erreur: page « p.html » : fichier vide"},
         2},
        {"list and pages read through other encodings",
         {{"liste.xml",
           "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n"
           "<files title=\"Aid\xE9\"><file name=\"p.html\"/><file name=\"q.html\"/></files>"},
          {"p.html", "\xFF\xFE" + utf16WithoutMark(page(""))},
          {"q.html", page("caf\xE9")}},
         {"liste.xml: avertissement: fichier en « windows-1252 » (son encodage déclaré), lu après "
          "conversion ; enregistrez-le en UTF-8",
          "p.html: avertissement: fichier en UTF-16, lu après conversion ; enregistrez-le en UTF-8",
          "q.html: avertissement: fichier qui n'est pas en UTF-8, lu comme du windows-1252 ; "
          "enregistrez-le en UTF-8"},
         1},
        {"page in UTF-16 without a byte order mark: read almost empty",
         {{"liste.xml", list("<file name=\"p.html\"/>\n")}, {"p.html", utf16WithoutMark(page(""))}},
         {"liste.xml:1:1: avertissement: sommaire vide : aucun titre h1 à h6 des pages n'a "
          "d'attribut id ou name",
          "liste.xml:1:1: avertissement: index vide : aucun élément des pages n'a d'attribut ix",
          "p.html: avertissement: fichier en UTF-16 sans marque d'ordre des octets : il est lu "
          "presque vide ; enregistrez-le en UTF-8"},
         1},
        {"a NUL byte with text after it",
         {{"liste.xml", list("<file name=\"p.html\"/>\n")},
          {"p.html", page("") + std::string(1, '\0') + "<p>perdu</p>"}},
         {"p.html:4:1: avertissement: octet NUL : la suite du fichier n'est pas lue ; retirez-le"},
         1},
        {"a NUL byte that makes the page fail: one finding",
         onePage("<p>un" + std::string(1, '\0') + "</p>"),
         {"p.html:2:6: erreur: Error reading Element value. (octet NUL en 2:6 : le fichier "
          "s'arrête "
          "là ; retirez-le)"},
         2},
        // Parse errors.
        {"an inline element left open before a block's end",
         onePage("<blockquote><b>gras</blockquote>"),
         {"p.html:2:23: erreur: Error reading end tag. (élément <b> ouvert en 2:13 non fermé)"},
         2},
        {"a comment never closed",
         onePage("<!-- note\n<p>x</p>"),
         {"p.html:5:1: erreur: Error reading Element value. (commentaire ouvert en 2:1 non fermé : "
          "écrivez -->)"},
         2},
        {"an attribute without a value",
         onePage("<td nowrap>x</td>"),
         {"p.html:2:11: erreur: Error reading Attributes. (attribut nowrap sans valeur : écrivez "
          "nowrap=\"nowrap\")"},
         2},
        {"an attribute without a value before another",
         onePage("<link crossorigin href=\"p.html\"/>"),
         {"p.html:2:18: erreur: Error reading Attributes. (attribut crossorigin sans valeur : "
          "écrivez crossorigin=\"crossorigin\")"},
         2},
        {"a page beyond the attribute limit",
         onePage("<p" + repeat(" a=\"\"", 300) + "/>"),
         {"p.html:2:1: erreur: Élément de plus de 256 attributs : page refusée"},
         2},
        {"an ix of more than 256 levels",
         onePage("<b ix=\"" + repeat("|", 300) + "x\">k</b>"),
         {"p.html:2:1: erreur: attribut ix de plus de 256 niveaux : page refusée"},
         2},
        // The walk.
        {"skipped heading level",
         onePage("<h3 id=\"t\">T</h3>"),
         {"p.html:2:1: avertissement: niveau de titre sauté (h1 puis h3) : l'entrée « [titre "
          "manquant] » apparaîtra dans la table des matières ; utilisez h2"},
         1},
        {"an h1 below a page without headings: the fix is in that page",
         {{"liste.xml", list("<file name=\"a.html\">\n  <file name=\"p.html\"/>\n</file>\n")},
          {"a.html", "<html><body><p ix=\"1\">a</p></body></html>"},
          {"p.html", page("")}},
         {"p.html:1:13: avertissement: niveau de titre sauté (en tête de page : h1) : l'entrée « "
          "[titre manquant] » apparaîtra dans la table des matières ; donnez un titre avec id à la "
          "page qui englobe celle-ci dans la liste"},
         1},
        {"no skipped level echoed under a missing page",
         {{"liste.xml", list("<file name=\"absente.html\">\n  <file name=\"p.html\"/>\n</file>\n")},
          {"p.html", page("")}},
         {"liste.xml:2:1: erreur: page « absente.html » : Le fichier spécifié est introuvable"},
         2},
        {"heading with an anchor and no text",
         onePage("<h2 id=\"logo\"><img src=\"p.html\"/></h2>"),
         {"p.html:2:1: avertissement: titre <h2> sans texte : l'entrée « [titre manquant] » "
          "apparaîtra dans la table des matières ; écrivez son texte"},
         1},
        {"keyword element without text",
         onePage("<span ix=\"Outils|1\"> </span>"),
         {"p.html:2:1: avertissement: mot clé vide (ix=\"Outils|1\" sur un élément sans texte) "
          ": il n'entrera pas dans l'index ; écrivez le texte de l'élément ou le mot clé dans ix"},
         1},
        {"nested ix",
         onePage("<span ix=\"1\">a <b ix=\"1\">b</b></span>"),
         {"p.html:2:16: avertissement: attribut ix=\"1\" dans le texte d'un autre mot clé : "
          "ignoré"},
         1},
        {"named references left as they are; &amp; written on purpose is not",
         onePage("<h2 id=\"f\">A &rarr; B &amp;rarr; C</h2><i ix=\"Signes|&le;\">x</i>"),
         {"p.html:2:14: avertissement: référence « &rarr; » inconnue dans un titre : elle "
          "s'affichera telle quelle ; écrivez le caractère lui-même",
          "p.html:2:54: avertissement: référence « &le; » inconnue dans un mot clé : elle "
          "s'affichera telle quelle ; écrivez le caractère lui-même"},
         1},
        {"characters beyond code page 1252",
         onePage("<h2 id=\"f\">A → B</h2><i ix=\"1\">x‑y</i>"),
         {"p.html:2:14: avertissement: caractère U+2192 absent du code page 1252 dans un titre "
          ": il deviendra « ? » dans le .chm (les pages HTML le gardent)",
          "p.html:2:33: avertissement: caractère U+2011 absent du code page 1252 dans un mot clé : "
          "il deviendra « ? » dans le .chm (les pages HTML le gardent)"},
         1},
        {"headings anchored by a link inside only",
         onePage("<h2><a name=\"a\"></a>A</h2>\n<h2><a name=\"b\"></a>B</h2>"),
         {"p.html:2:1: avertissement: titre <h2> marqué par <a name=\"a\"> seulement : il "
          "n'entrera pas dans la table des matières ; écrivez <h2 id=\"a\"> (de même pour 1 "
          "autre titre de la page)"},
         1},
        {"a link inside a heading with an id and a name: the id is its anchor",
         onePage("<h2><a name=\"n\" id=\"i\"></a>A</h2>"),
         {"p.html:2:1: avertissement: titre <h2> marqué par <a id=\"i\"> seulement : il "
          "n'entrera pas dans la table des matières ; écrivez <h2 id=\"i\">"},
         1},
        {"a heading of dots has a title; a fragment is found as written",
         onePage("<h2 id=\"a%3Cb\">...</h2><a href=\"#a%3Cb\">x</a>"),
         {},
         0},
        {"anchor given twice",
         onePage("<p id=\"haut\">x</p>"),
         {"p.html:2:4: avertissement: ancre « haut » déjà définie en 1:17 : les liens vers elle "
          "mènent à la première"},
         1},
        {"an index entry linking to a <meta name> in the head",
         {{"liste.xml", list("<file name=\"p.html\"/>\n")},
          {"p.html",
           "<html><head><meta name=\"description\" content=\"d\"/></head>\n"
           "<body><p ix=\"mot\">t</p><h1 id=\"h\">H</h1></body></html>\n"}},
         {"p.html:1:13: avertissement: ancre « description » des entrées qui suivent : "
          "l'attribut name de <meta> n'est pas une ancre pour un navigateur (seuls id, et name "
          "sur <a>, le sont) ; donnez un id à l'élément visé"},
         1},
        {"entries after an <input name>, and a heading anchored by name",
         onePage("<input name=\"q\"/><p ix=\"1\">k</p><p ix=\"2\">l</p>\n<h2 name=\"n\">N</h2>"),
         {"p.html:2:1: avertissement: ancre « q » des entrées qui suivent : l'attribut name de "
          "<input> n'est pas une ancre pour un navigateur (seuls id, et name sur <a>, le sont) ; "
          "donnez un id à l'élément visé",
          "p.html:3:1: avertissement: ancre « n » des entrées qui suivent : l'attribut name de "
          "<h2> n'est pas une ancre pour un navigateur (seuls id, et name sur <a>, le sont) ; "
          "donnez un id à l'élément visé"},
         1},
        {"a form's name that a link's name also gives: the fragment is reached",
         onePage("<form name=\"f\"><p ix=\"1\">k</p></form><a name=\"f\"></a>"),
         {},
         0},
        {"links to missing files and anchors, in the author's characters",
         {{"liste.xml", list("<file name=\"p.html\"/>\n<file name=\"pages/説明.html\"/>\n")},
          {"p.html", page("<a href=\"pages/説明.html#nulle\">x</a><a href=\"#概要\">y</a>"
                          "<img src=\"absente.png\"/>")},
          {"pages/説明.html", page("<a href=\"../p.html#haut\">z</a>")}},
         {"p.html:2:4: avertissement: lien « pages/説明.html#nulle » : ancre « nulle » absente de "
          "pages/説明.html",
          "p.html:2:39: avertissement: lien « #概要 » : ancre « 概要 » absente de cette page",
          "p.html:2:60: avertissement: lien « absente.png » : fichier introuvable"},
         1},
        {"what the compiled help would miss",
         {{"liste.xml", list("<file name=\"p.html\"/>\n<file name=\"P2.html\"/>\n")},
          {"p.html", page("<link href=\"s.css\"/><a href=\"../dehors.html\">x</a><img "
                          "src=\"$x.png\"/>")},
          {"$x.png", "x"},
          {"P2.html", page("<a href=\"p2.html\">x</a>")},
          {"p2.html", page("")},
          {"s.css", "p { background: url(absente.png) }"}},
         {"p.html: avertissement: « ../dehors.html » hors du dossier de la liste : absent de "
          "l'aide compilée",
          "p.html: avertissement: « $x.png » : nom que l'aide compilée ne peut pas contenir "
          "(trop long, réservé au format, ou déjà pris à la casse près)",
          "p.html:2:24: avertissement: lien « ../dehors.html » : fichier introuvable",
          "P2.html: avertissement: « p2.html » : nom que l'aide compilée ne peut pas contenir "
          "(trop long, réservé au format, ou déjà pris à la casse près)",
          "s.css: avertissement: url(absente.png) : fichier introuvable"},
         1,
         "liste.xml",
         true},
        // Contexts.
        {"marks and defines that agree, the header named after the page",
         {{"liste.xml", list("<file name=\"p.html\"/>\n<map name=\"ids.h\"/>\n")},
          {"p.html", page("<h2 id=\"s\" ctx=\"IDH_A\nIDH_B\">S</h2>")},
          {"ids.h", "#define IDH_A 1 // a\n  #  define\tIDH_B 0x2\n#define IDH_A 1\n"}},
         {},
         0},
        {"a name no header defines",
         {{"liste.xml", list("<map name=\"ids.h\"/>\n<file name=\"p.html\"/>\n")},
          {"p.html", page("<p ctx=\"IDH_A IDH_B\">x</p>")},
          {"ids.h", "#define IDH_A 1\n"}},
         {"p.html:2:4: erreur: contexte « IDH_B » sans numéro : aucun en-tête de la liste ne le "
          "définit ; l'application ne pourra pas ouvrir cette aide"},
         2},
        {"a name marked while the list names no header",
         onePage("<p ctx=\"IDH_A\">x</p>"),
         {"p.html:2:4: erreur: contexte « IDH_A » sans numéro : la liste ne nomme aucun en-tête "
          "(<map name=\"...\"/>) ; l'application ne pourra pas ouvrir cette aide"},
         2},
        {"a name that is no C identifier",
         onePage("<p ctx=\"2e\">x</p>"),
         {"p.html:2:4: erreur: contexte « 2e » : ce n'est pas un identificateur C ; écrivez des "
          "lettres sans accent, des chiffres et _, sans chiffre en tête"},
         2},
        {"a name marked in two pages; a page listed twice does not mark again",
         {{"liste.xml", list("<map name=\"ids.h\"/>\n<file name=\"p.html\"/>\n"
                             "<file name=\"p.html\"/>\n<file name=\"q.html\"/>\n")},
          {"p.html", page("<p ctx=\"IDH_A\">x</p>")},
          {"q.html", page("<p ctx=\"IDH_A\">y</p>")},
          {"ids.h", "#define IDH_A 1\n"}},
         {"liste.xml:4:1: avertissement: page « p.html » déjà listée en 3:1 : elle figurera deux "
          "fois dans le projet",
          "q.html:2:4: erreur: contexte « IDH_A » déjà marqué en p.html:2:4 : un contexte mène à "
          "un seul endroit ; retirez l'une des marques"},
         2},
        {"a number given two names, a name given two numbers",
         {{"liste.xml",
           list("<map name=\"ids.h\"/>\n<map name=\"autres.h\"/>\n<file name=\"p.html\"/>\n")},
          {"p.html", page("<p ctx=\"IDH_A IDH_B IDH_C\">x</p>")},
          {"ids.h", "#define IDH_A 1\n#define IDH_B 1\n#define IDH_A 2\n"},
          {"autres.h", "#define IDH_C 0x1\n"}},
         {"ids.h:2:9: erreur: contexte « IDH_B » : numéro 1 déjà donné à « IDH_A » en 1:9 ; "
          "l'aide ne saura pas lequel ouvrir",
          "ids.h:3:9: erreur: contexte « IDH_A » déjà défini en 1:9 avec le numéro 1 : gardez un "
          "seul numéro",
          "autres.h:1:9: erreur: contexte « IDH_C » : numéro 1 déjà donné à « IDH_A » en "
          "ids.h:1:9 ; l'aide ne saura pas lequel ouvrir"},
         2},
        {"headers that number nothing; the names they may define are not reported",
         {{"liste.xml", list("<map name=\"absent.h\"/>\n<map name=\"vide.h\"/>\n"
                             "<file name=\"p.html\"/>\n")},
          {"p.html", page("<p ctx=\"IDH_A\">x</p>")},
          {"vide.h", "int x;\n"}},
         {"liste.xml:2:1: erreur: en-tête « absent.h » : Le fichier spécifié est introuvable",
          "liste.xml:3:1: avertissement: en-tête « vide.h » sans aucune ligne « #define NOM "
          "nombre » : il ne numérote aucun contexte"},
         2},
        {"a name no page marks",
         {{"liste.xml", list("<file name=\"p.html\"/>\n<map name=\"ids.h\"/>\n")},
          {"p.html", page("")},
          {"ids.h", "#define IDH_A 1\n"}},
         {"ids.h:1:9: avertissement: contexte « IDH_A » qu'aucune page ne marque : l'application "
          "n'aura pas d'aide pour lui ; écrivez ctx=\"IDH_A\" sur l'élément à montrer"},
         1},
        // Templates.
        {"templates a run would refuse",
         {{"liste.xml", list("<file name=\"p.html\"/>\n<table name=\"absent.tpl\"/>\n"
                             "<table name=\"sans.tpl\"/>\n<index name=\"fin.tpl\"/>\n"
                             "<index name=\"param.tpl\"/>\n<table name=\"t.html\"/>\n")},
          {"p.html", page("")},
          {"sans.tpl", "<html></html>"},
          {"fin.tpl", "<html>\n  <!-- <template />\n"},
          {"param.tpl", "<html>\n\t<!-- <template target=\"x\"> -->\n"},
          {"t.html", "<!-- <template /> -->"}},
         {"liste.xml:3:1: erreur: modèle « absent.tpl » refusé : Le fichier spécifié est "
          "introuvable",
          "liste.xml:7:1: erreur: modèle « t.html » refusé : Le fichier d'entrée n'a pas "
          "l'extension "
          "\".tpl\"",
          "sans.tpl:1:1: erreur: modèle refusé : Impossible de trouver le point de substitution",
          "fin.tpl:2:3: erreur: modèle refusé : Impossible de trouver la fin du point de "
          "substitution",
          "param.tpl:2:2: erreur: modèle refusé : Erreur à l'analyse des paramètres de "
          "substitution"},
         2},
    };
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> lines;
        const int status = checkHelpSet(
            MemoryFileReader(c.files), splitListPath(c.argument), c.argument,
            [&](const std::vector<MessagePiece>& pieces) {
                std::string& line = lines.emplace_back();
                for (const MessagePiece& piece : pieces) {
                    if (piece.own) {
                        appendCp1252AsUtf8(line, piece.text);
                    } else {
                        line.append(piece.text);
                    }
                }
            },
            1, c.compiledHelp);
        lines.pop_back();  // the summary
        EXPECT_EQ(lines, c.lines);
        EXPECT_EQ(status, c.status);
    }
}

}  // namespace
}  // namespace qv

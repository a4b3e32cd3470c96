#include "output/templates.h"

#include <gtest/gtest.h>

#include "io/text_stream.h"
#include "temp_dir.h"

namespace qv {
namespace {

const std::string kNoPoint = "Impossible de trouver le point de substitution\n";
const std::string kNoEnd = "Impossible de trouver la fin du point de substitution\n";
const std::string kBadParameters = "Erreur \xE0 l'analyse des param\xE8tres de substitution\n";
const std::string kNoExtension = "Le fichier d'entr\xE9\x65 n'a pas l'extension \".tpl\"\n";

TEST(PrepareTemplate, CutsOrRejects) {
    const struct {
        const char* what;
        std::string name, text;
        int status;
        std::string message, before, indent, after, output, target;
    } cases[] = {
        {"indented point with a target", "toc.tpl",
         "<html><body>\n  <!-- <template target=\"main\" /> -->\n</body></html>\n", 0, "",
         "<html><body>\n  ", "  ", "\n</body></html>\n", "toc.html", "main"},
        {"point at the start of a line", "t.tpl", "a\n<!-- <template /> -->b", 0, "", "a\n", "",
         "b", "t.html", ""},
        {"text ahead of the point", "t.tpl", "x\n<div><!-- <template /> --></div>\n", 0, "",
         "x\n<div>", "<div>", "</div>\n", "t.html", ""},
        {"second point copied, CR LF folded, lone CR kept", "t.tpl",
         "a\r\n\t<!-- <template /> -->x<!-- <template target=\"t\" /> -->\r\nb\r", 0, "", "a\n\t",
         "\t", "x<!-- <template target=\"t\" /> -->\nb\r", "t.html", ""},
        {"end tag, other attributes, entity", "t.tpl",
         "<!-- <template class=\"c\" target=\"a&amp;b\">ignored</template> -->", 0, "", "", "", "",
         "t.html", "a&b"},
        {"empty target", "t.tpl", "<!-- <template target=\"\" /> -->", 0, "", "", "", "", "t.html",
         ""},
        {"an earlier --> does not end the point", "t.tpl", "--> <!-- <template /> -->x", 0, "",
         "--> ", "--> ", "x", "t.html", ""},
        {"first .tpl replaced", "a.tpl.bak", "<!-- <template /> -->", 0, "", "", "", "",
         "a.html.bak", ""},
        {"a folder named .tpl keeps its name", "x.tpl.d/t.tpl", "<!-- <template /> -->", 0, "", "",
         "", "", "x.tpl.d/t.html", ""},
        {"a backslash ends a folder too", "x.tpl.d\\t.tpl", "<!-- <template /> -->", 0, "", "", "",
         "", "x.tpl.d\\t.html", ""},
        {"only the file name gives the extension", "x.tpl.d/y.TPL", "<!-- <template /> -->", 65535,
         kNoExtension, "", "", "", "", ""},
        {"no space after template", "t.tpl", "<!-- <template/> -->", 65535, kNoPoint, "", "", "",
         "", ""},
        {"no space after <!--", "t.tpl", "<!--<template />-->", 65535, kNoPoint, "", "", "", "",
         ""},
        {"no end", "t.tpl", "a\n<!-- <template /> \n", 65535, kNoEnd, "", "", "", "", ""},
        {"element not closed", "t.tpl", "<!-- <template target=\"x\"> -->", 65535, kBadParameters,
         "", "", "", "", ""},
        {"no .tpl", "page.txt", "<!-- <template /> -->", 65535, kNoExtension, "", "", "", "", ""},
        {"extension is case-sensitive", "x.TPL", "<!-- <template /> -->", 65535, kNoExtension, "",
         "", "", "", ""},
        {"extension checked last", "bad.txt", "no point", 65535, kNoPoint, "", "", "", "", ""},
        {"missing file: the loader's status, no problem", "missing.tpl", "", 2, "", "", "", "", "",
         ""},
    };
    testing_support::TempDir dir;
    dir.makeDirectory("x.tpl.d");
    const DiskFileReader reader;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.status != 2) dir.write(c.name, c.text);
        TemplateParts parts;
        parts.linkTarget = "stale";
        TemplateProblem problem;
        EXPECT_EQ(prepareTemplate(reader, dir.file(c.name), parts, problem), c.status);
        const std::string message = describeTemplateProblem(problem.kind);
        EXPECT_EQ(message.empty() ? message : message + "\n", c.message);
        if (c.status != 0) continue;
        EXPECT_EQ(parts.before, c.before);
        EXPECT_EQ(parts.indent, c.indent);
        EXPECT_EQ(parts.after, c.after);
        EXPECT_EQ(parts.outputPath, dir.file(c.output));
        EXPECT_EQ(parts.linkTarget, c.target);
    }
}

// A point whose target is "contexte" gives the contexts' map, whatever the
// list of the template; any other target gives the list.
TEST(TemplatePage, ContextMap) {
    const std::vector<ContextMark> marks = {
        {"IDH_PAGE", "p/a.html", ""},
        {"IDH_SAVE", "p/a.html", "save"},
        {"IDH_SAVE", "p/b.html", "again"},
        {"IDH_KEEP", "p/b.html", "</script>"},
        {"IDH_\xC3\x89T\xC3\x89", "p/\xC3\xA9.html", "caf\xC3\xA9"},
    };
    const struct {
        const char* what;
        std::string target, indent;
        TemplateList list;
        std::vector<ContextMark> marks;
        std::string expected;
    } cases[] = {
        {"no contexts", "contexte", "  ", TemplateList::Contents, {}, "{}"},
        {"names then numbers, first link kept, blanks before the point only", "contexte",
         "  var c = ", TemplateList::Index, marks,
         "{\r\n"
         "    \"IDH_PAGE\": \"p/a.html\",\r\n"
         "    \"1000\": \"p/a.html\",\r\n"
         "    \"IDH_SAVE\": \"p/a.html#save\",\r\n"
         "    \"1001\": \"p/a.html#save\",\r\n"
         "    \"IDH_KEEP\": \"p/b.html#\\u003c/script>\",\r\n"
         "    \"IDH_\xC3\x89T\xC3\x89\": \"p/\xC3\xA9.html#caf\xC3\xA9\"\r\n"
         "  }"},
        {"a tab deeper after tabs",
         "contexte",
         "\t\t",
         TemplateList::Contents,
         {{"IDH_SAVE", "a.html", "s"}},
         "{\r\n\t\t\t\"IDH_SAVE\": \"a.html#s\",\r\n"
         "\t\t\t\"1001\": \"a.html#s\"\r\n\t\t}"},
        {"the target's case counts", "Contexte", "", TemplateList::Contents, marks, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        HelpProject project;
        project.contexts.marks = c.marks;
        // IDH_KEEP shares IDH_SAVE's number.
        project.contexts.numbers = {{"IDH_SAVE", 1001}, {"IDH_KEEP", 1001}, {"IDH_PAGE", 1000}};
        TemplateParts parts{"<script>", c.indent, "</script>", c.target, "t.html"};
        StringTextStream out;
        writeTemplatePage(parts, project, c.list, out);
        EXPECT_EQ(out.str(), "<script>" + c.expected + "</script>");
    }
}

}  // namespace
}  // namespace qv

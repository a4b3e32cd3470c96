#include "output/templates.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace qv

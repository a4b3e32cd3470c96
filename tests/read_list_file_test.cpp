// The list reader over real pages in a scratch directory.

#include <gtest/gtest.h>

#include <regex>

#include "driver/help_project.h"
#include "temp_dir.h"

namespace qv {
namespace {

using Names = std::vector<std::string>;

class ReadListFileTest : public ::testing::Test {
  protected:
    ReadListFileTest() {
        // Each page has one h1 whose anchor is the page's name.
        for (const char* name : {"a.htm", "b.htm", "c.htm", "d.htm", "e.htm", "f.htm"}) {
            dir.write(name, std::string("<html><h1 id=\"") + name + "\">t</h1></html>");
        }
        dir.write("vide.htm", "");
        dir.write("casse.htm", "<html><p>unclosed</html>");
    }

    int read(std::string list) {
        project = std::make_unique<HelpProject>();
        project->listDirectory = dir.prefix();
        ::testing::internal::CaptureStdout();
        const int status = project->readListFile(dir.file("liste.xml"), list);
        printed = ::testing::internal::GetCapturedStdout();
        return status;
    }

    std::string announced(const std::string& name) const {
        return "Traitement du fichier \"" + dir.prefix() + name + "\"\n";
    }

    // Each contents node as anchor:level, depth first.
    static void levels(const TopicNode& node, std::string& out) {
        for (const auto& child : node.children) {
            out += child->anchor + ":" + std::to_string(child->level) + " ";
            levels(*child, out);
        }
    }

    testing_support::TempDir dir;
    std::unique_ptr<HelpProject> project;
    std::string printed;
};

TEST_F(ReadListFileTest, ElementsDepthsAndSettings) {
    EXPECT_EQ(read("<?xml version=\"1.0\"?>\n"
                   "<FILES title=\"Guide\">\n"
                   "  <File name=\"a.htm\" default=\"\">\n"
                   "    <file name=\"b.htm\"/>\n"
                   "    <x><file name=\"c.htm\" default=\"oui\"/></x>\n"
                   "  </File>\n"
                   "  <file><file name=\"d.htm\"/></file>\n"
                   "  <table name=\"t1.tpl\"><file name=\"e.htm\"><file name=\"f.htm\"/></file>"
                   "</table>\n"
                   "  <Index name=\"i1.tpl\"/><TABLE name=\"t2.tpl\"/>\n"
                   "  <file Name=\"ignored.htm\"/><index/><table Name=\"x.tpl\"/>\n"
                   "  <files title=\"Aide g&#233;n&#233;rale\"/><files/><files Title=\"x\"/>\n"
                   "</FILES>\n"),
              0);
    EXPECT_EQ(project->pages, (Names{"a.htm", "b.htm", "c.htm", "d.htm", "e.htm", "f.htm"}));
    EXPECT_EQ(project->contentsTemplates, (Names{"t1.tpl", "t2.tpl"}));
    EXPECT_EQ(project->indexTemplates, (Names{"i1.tpl"}));
    EXPECT_EQ(project->title, "Aide g\xC3\xA9n\xC3\xA9rale");  // UTF-8, last title wins
    EXPECT_EQ(project->defaultTopic, "c.htm");
    EXPECT_EQ(project->pageDepth, 0);
    std::string tree;
    levels(project->contentsRoot, tree);
    EXPECT_EQ(tree, "a.htm:1 b.htm:2 c.htm:2 d.htm:1 e.htm:1 f.htm:2 ");
    EXPECT_EQ(printed, announced("a.htm") + announced("b.htm") + announced("c.htm") +
                           announced("d.htm") + announced("e.htm") + announced("f.htm"));
}

TEST_F(ReadListFileTest, AFailingPageEndsTheWalk) {
    const std::pair<std::string, int> cases[] = {
        {"missing.htm", 2}, {"vide.htm", 4306}, {"casse.htm", 13}};
    for (const auto& [second, status] : cases) {
        SCOPED_TRACE(second);
        EXPECT_EQ(read("<files><file name=\"a.htm\"/><file name=\"" + second +
                       "\" default=\"\"><file name=\"c.htm\"/></file><file name=\"d.htm\"/>"
                       "<table name=\"t.tpl\"/><files title=\"T\"/></files>"),
                  status);
        EXPECT_EQ(project->pages, Names{"a.htm"});
        EXPECT_TRUE(project->contentsTemplates.empty());
        EXPECT_EQ(project->defaultTopic, "");
        EXPECT_EQ(project->title, "");
        EXPECT_EQ(printed.rfind(announced("a.htm") + announced(second), 0), 0u) << printed;
        EXPECT_EQ(printed.find("d.htm"), std::string::npos) << printed;
    }
}

TEST_F(ReadListFileTest, ParseErrorIsReportedAndTheWalkGoesOn) {
    const std::pair<std::string, Names> cases[] = {
        {"<files>\n  <file name=\"a.htm\"/>\n  <file name=\"b.htm\"/>\n", {"a.htm", "b.htm"}},
        {"  \n ", {}},
    };
    const std::regex lines("^Erreur durant l'analyse du fichier\"" + dir.file("liste.xml") +
                           "\"\n ligne=[0-9]+, colonne=[0-9]+\n description=\"[^\"\n]*\"\n");
    for (const auto& [list, pages] : cases) {
        EXPECT_EQ(read(list), 0);
        EXPECT_TRUE(std::regex_search(printed, lines)) << printed;
        EXPECT_EQ(project->pages, pages);
    }
}

}  // namespace
}  // namespace qv

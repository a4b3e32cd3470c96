// The list reader over real pages in a scratch directory.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <regex>

#include "listfile/read_list_file.h"
#include "run/list_messages.h"

namespace qv {
namespace {

using Names = std::vector<std::string>;

// The list walk with a handler that records each page as name@depth and
// fails the pages given a status, and the pages foretold before the walk.
class ReadListFileTest : public ::testing::Test {
protected:
    int read(std::string list, const std::map<std::string, int>& failing = {}) {
        project = std::make_unique<HelpProject>();
        handled.clear();
        auto handle = [&](const std::string& name, int depth) {
            handled += name + "@" + std::to_string(depth) + " ";
            auto found = failing.find(name);
            return found == failing.end() ? 0 : found->second;
        };
        auto foretell = [&](Names names) { ahead = std::move(names); };
        ::testing::internal::CaptureStdout();
        const std::string path = "dir/liste.xml";
        ListMessages report(path, list);
        const int status = readListFile(*project, path, list, handle, report, foretell);
        printed = ::testing::internal::GetCapturedStdout();
        return status;
    }

    std::unique_ptr<HelpProject> project;
    std::string handled;
    std::string printed;
    Names ahead;
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
    EXPECT_EQ(handled, "a.htm@0 b.htm@1 c.htm@1 d.htm@0 e.htm@0 f.htm@1 ");
    EXPECT_EQ(ahead, project->pages);
    EXPECT_EQ(printed, "");
}

TEST_F(ReadListFileTest, AFailingPageEndsTheWalk) {
    const std::pair<std::string, int> cases[] = {
        {"missing.htm", 2}, {"vide.htm", 4306}, {"casse.htm", 13}};
    for (const auto& [second, status] : cases) {
        SCOPED_TRACE(second);
        EXPECT_EQ(read("<files><file name=\"a.htm\"/><file name=\"" + second +
                           "\" default=\"\"><file name=\"c.htm\"/></file><file name=\"d.htm\"/>"
                           "<table name=\"t.tpl\"/><files title=\"T\"/></files>",
                       {{second, status}}),
                  status);
        EXPECT_EQ(project->pages, Names{"a.htm"});
        EXPECT_TRUE(project->contentsTemplates.empty());
        EXPECT_EQ(project->defaultTopic, "");
        EXPECT_EQ(project->title, "");
        EXPECT_EQ(handled, "a.htm@0 " + second + "@0 ");
    }
}

TEST_F(ReadListFileTest, ParseErrorIsReportedAndTheWalkGoesOn) {
    const std::pair<std::string, Names> cases[] = {
        {"<files>\n  <file name=\"a.htm\"/>\n  <file name=\"b.htm\"/>\n", {"a.htm", "b.htm"}},
        {"  \n ", {}},
    };
    const std::regex lines(
        "^Erreur durant l'analyse du fichier\"dir/liste.xml\"\n ligne=[0-9]+, colonne=[0-9]+\n "
        "description=\"[^\"\n]*\"\n");
    for (const auto& [list, pages] : cases) {
        EXPECT_EQ(read(list), 0);
        EXPECT_TRUE(std::regex_search(printed, lines)) << printed;
        EXPECT_EQ(project->pages, pages);
        EXPECT_EQ(ahead, pages);
    }
}

}  // namespace
}  // namespace qv

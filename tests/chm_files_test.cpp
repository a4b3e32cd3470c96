// What goes into the compiled help: the references found in pages and style
// sheets, the files collected from them, and the topic tables that point at
// the pages.
#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "chm/collect_files.h"
#include "chm/system_files.h"
#include "chm/topic_table.h"
#include "memory_file_reader.h"

namespace qv {
namespace {

TEST(ChmFiles, ReferencesInPagesAndStyleSheets) {
    struct Row {
        const char* text;
        bool styleSheet;
        std::vector<std::string> expected;
    };
    const std::vector<Row> rows = {
        {"<a href=\"a.html\">x</a><img SRC='i.png'><a href=b.html>",
         false,
         {"a.html", "i.png", "b.html"}},
        {"<a href=\"q?a=1&amp;b=2\">", false, {"q?a=1&b=2"}},
        {"<link rel=stylesheet href=\"s.css\"><style>p{background:url( 'bg.png' )}</style>",
         false,
         {"s.css", "bg.png"}},
        {"<!-- <a href=\"c.html\"> --><script>h.href='x'; a = \"<img src=j.png>\"</script>",
         false,
         {}},
        {"<p title=\"a > b\" data-src=\"no\" xhref=\"no\">src=no.png href=\"no\"</p>", false, {}},
        {"<p title='a > b' id=\"x\" href=\"yes.html\">", false, {"yes.html"}},
        {"/* url(no.png) */ body { background: url(\"b.png\") } li { list-style: url(d.gif) }",
         true,
         {"b.png", "d.gif"}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(referencesIn(row.text, row.styleSheet), row.expected) << row.text;
    }
}

TEST(ChmFiles, CollectionFollowsPagesAndStyleSheetsAndReportsWhatItCannotTake) {
    HelpProject project;
    project.listDirectory = project.listDirectoryUrl = "aide/";
    project.pages = {"pages/a.html", "pages/b.html", "../hors.html"};
    const MemoryFileReader reader(std::map<std::string, std::string>{
        {"aide/pages/a.html",
         "<link href=\"../style.css\"><a href=\"b.html#x\"><img src=\"../img/A.png\">"
         "<a href=\"http://example.org/\"><a href=\"../../dehors.html\"><a href=\"absent.html\">"},
        {"aide/pages/b.html",
         "<img src=\"../img/a.png\"><a href=\"absent.html\"><img src=\"../img/a.png\">"},
        {"aide/style.css", "p { background: url(img/fond.png) }"},
        {"aide/img/A.png", "A"},
        {"aide/img/a.png", "a"},
        {"aide/img/fond.png", "f"},
    });
    const CollectedFiles collected = collectFiles(project, reader);
    std::vector<std::string> names;
    for (const ChmFile& file : collected.files) names.push_back(file.name);
    EXPECT_EQ(names, (std::vector<std::string>{"/aide/pages/a.html", "/aide/pages/b.html",
                                               "/aide/style.css", "/aide/img/A.png",
                                               "/aide/img/fond.png"}));
    const std::vector<std::tuple<CollectionProblem::Kind, std::string, std::string>> expected = {
        {CollectionProblem::Outside, "../hors.html", ""},
        {CollectionProblem::Outside, "../dehors.html", "pages/a.html"},
        {CollectionProblem::Missing, "pages/absent.html", "pages/a.html"},
        {CollectionProblem::BadName, "img/a.png", "pages/b.html"},
    };
    ASSERT_EQ(collected.problems.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const CollectionProblem& problem = collected.problems[i];
        EXPECT_EQ(std::tie(problem.kind, problem.file, problem.referencedBy), expected[i]) << i;
    }
}

std::uint32_t word(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// Every topic's title and URL, found the way a viewer finds them: #TOPICS
// entry, then #STRINGS, and #URLTBL then #URLSTR.
TEST(ChmFiles, TopicTablesLeadFromEachTopicToItsTitleAndUrl) {
    HelpProject project;
    project.listDirectoryUrl = "aide/";
    project.pages = {"a.html", "b.html"};
    TopicNode& entry = project.contentsRoot.appendChild();
    entry.level = 1;
    entry.file = "b.html";
    entry.anchor = "suite";
    entry.title = "Suite";
    TopicTable topics(project);
    EXPECT_EQ(topics.topicOf("aide/b.html#suite", "autre"), 2u);
    EXPECT_EQ(topics.topicOf("aide/c.html", "C"), 3u);
    const std::vector<ChmFile> files = buildTopicFiles(topics.topics());
    const std::string& topicFile = files[0].content;
    const std::string& urlTable = files[1].content;
    const std::string& urlStrings = files[2].content;
    const std::string& strings = files[3].content;
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"aide/a.html", "a.html"},
        {"aide/b.html", "Suite"},
        {"aide/b.html#suite", "Suite"},
        {"aide/c.html", "C"}};
    ASSERT_EQ(topicFile.size(), 16 * expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const std::uint32_t title = word(topicFile, 16 * i + 4);
        const std::uint32_t url = word(topicFile, 16 * i + 8);
        EXPECT_EQ(std::string(strings.c_str() + title), expected[i].second);
        EXPECT_EQ(word(urlTable, url + 4), i);
        EXPECT_EQ(std::string(urlStrings.c_str() + word(urlTable, url + 8) + 8), expected[i].first);
    }
}

// Each numbered context found the way a viewer finds it: #IVB's pair, then
// #STRINGS, whose titles stay where they were and whose 4096-byte blocks each
// hold a topic whole.
TEST(ChmFiles, ContextIdsLeadFromEachNumberToItsTopic) {
    HelpProject project;
    project.listDirectoryUrl = "aide/";
    project.pages = {"pages/a.html"};
    project.contexts.marks = {{"IDH_A", "pages/a.html", ""},
                              {"IDH_SUITE", "./pages/a.html", "suite"},
                              {"IDH_SANS_NUMERO", "pages/a.html", ""},
                              {"IDH_A", "pages/b.html", ""},
                              {"IDH_MEME_NUMERO", "pages/b.html", "x"},
                              {"IDH_ETE", "pages/b.html", "\xc3\xa9t\xc3\xa9"},
                              {"IDH_B", "pages/b.html", ""}};
    project.contexts.numbers = {{"IDH_A", 20},   {"IDH_SUITE", 10}, {"IDH_MEME_NUMERO", 20},
                                {"IDH_ETE", 40}, {"IDH_B", 30},     {"IDH_AUTRE", 50}};
    TopicTable topics(project);
    topics.topicOf("aide/pages/long.html", std::string(4077, 't'));
    const std::vector<ChmFile> plain = buildTopicFiles(topics.topics());
    const std::vector<ChmFile> files = buildTopicFiles(topics.topics(), contextTopics(project));
    ASSERT_EQ(plain.size(), 5u);
    ASSERT_EQ(files.size(), 6u);
    const std::string& strings = files[3].content;
    const std::string& ivb = files[5].content;
    EXPECT_EQ(files[5].name, "/#IVB");
    EXPECT_EQ(strings.compare(0, plain[3].content.size(), plain[3].content), 0);
    const std::vector<std::pair<std::uint32_t, std::string>> expected = {
        {10, "aide/pages/a.html#suite"},
        {20, "aide/pages/a.html"},
        {30, "aide/pages/b.html"},
        {40, "aide/pages/b.html#\xe9t\xe9"}};
    ASSERT_EQ(ivb.size(), 4 + 8 * expected.size());
    EXPECT_EQ(word(ivb, 0), 8 * expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const std::uint32_t offset = word(ivb, 8 * i + 8);
        EXPECT_EQ(word(ivb, 8 * i + 4), expected[i].first);
        EXPECT_EQ(std::string(strings.c_str() + offset), expected[i].second);
        EXPECT_EQ(offset / 4096, (offset + expected[i].second.size()) / 4096);
    }
}

}  // namespace
}  // namespace qv

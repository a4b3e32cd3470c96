// The page visitor, driven through analysePage as the list walk drives it:
// pages analysed one after the other into the same trees.

#include "page/page_visitor.h"

#include <gtest/gtest.h>

#include <string>

#include "page/analyse_page.h"
#include "run/page_messages.h"

namespace qv {
namespace {

// One line per node: indentation by depth, [title] #anchor @file, the icon
// when there is one, and a note when level or parent link is wrong.
void dump(const TopicNode& node, int depth, bool parentLinks, std::string& out) {
    for (const auto& child : node.children) {
        out += std::string(2 * depth, ' ') + "[" + child->title + "] #" + child->anchor + " @" +
               child->file;
        if (child->imageNumber != -1) out += " icon=" + std::to_string(child->imageNumber);
        if (child->level != node.level + 1) out += " level=" + std::to_string(child->level);
        if (parentLinks && child->parent != &node) out += " bad-parent";
        if (!parentLinks && child->parent != nullptr) out += " has-parent";
        out += "\n";
        dump(*child, depth + 1, parentLinks, out);
    }
}

std::string contents(const HelpProject& project) {
    std::string out;
    dump(project.contentsRoot, 0, true, out);
    return out;
}

std::string index(const HelpProject& project) {
    std::string out;
    dump(project.indexRoot, 0, false, out);
    return out;
}

// The trees and the state carried from page to page, as one run has them.
struct Walk {
    HelpProject project;
    TreeBuilder trees{project};
};

int analyse(Walk& walk, const std::string& file, int depth, const std::string& body) {
    std::string text = "<html><body>" + body + "</body></html>";
    PageMessages report(file);
    return analysePage(walk.trees, file, depth, "/nonexistent/" + file, text, report);
}

struct PageCase {
    const char* what;
    int depth;
    std::string body;
    std::string contents;
    std::string index;
};

TEST(PageVisitor, OnePage) {
    const PageCase cases[] = {
        {"headings at depth 0", 0, "<h1 id=\"a\">A</h1><h2 id=\"b\">B</h2><h1 id=\"c\">C</h1>",
         "[A] #a @p.htm\n  [B] #b @p.htm\n[C] #c @p.htm\n", ""},
        {"headings at depth 1 get a filler at level 1", 1,
         "<h1 id=\"a\">A</h1><h2 id=\"b\">B</h2><h1 id=\"c\">C</h1>",
         "[] # @p.htm\n  [A] #a @p.htm\n    [B] #b @p.htm\n  [C] #c @p.htm\n", ""},
        {"h3 first", 0, "<h3 id=\"x\">X</h3>", "[] # @p.htm\n  [] # @p.htm\n    [X] #x @p.htm\n",
         ""},
        {"h2 without anchor, h2 with name", 0,
         "<h1 id=\"a\">A</h1><h2>No</h2><h2 name=\"n\">N</h2>", "[A] #a @p.htm\n  [N] #n @p.htm\n",
         ""},
        {"id wins over name", 0, "<h1 name=\"m\" id=\"i\">I</h1>", "[I] #i @p.htm\n", ""},
        {"upper-case element, upper-case ID", 0, "<H2 ID=\"x\">X</H2><H1 id=\"y\">Y</H1>",
         "[Y] #y @p.htm\n", ""},
        {"not headings", 0,
         "<h7 id=\"a\">A</h7><h0 id=\"b\">B</h0><h10 id=\"c\">C</h10><h1x id=\"d\">D</h1x>"
         "<head id=\"e\">E</head>",
         "", ""},
        {"icons", 0,
         "<h1 id=\"a\" icon=\"3\">A</h1><h1 id=\"b\" icon=\"x\">B</h1><h1 id=\"c\">C</h1>"
         "<h1 id=\"d\" icon=\" 12ab\">D</h1><h1 id=\"e\" icon=\"-4\">E</h1>"
         "<h1 id=\"f\" icon=\"99999999999\">F</h1>",
         "[A] #a @p.htm icon=3\n[B] #b @p.htm icon=0\n[C] #c @p.htm\n[D] #d @p.htm icon=12\n"
         "[E] #e @p.htm icon=-4\n[F] #f @p.htm icon=2147483647\n",
         ""},
        {"heading text gathered and tidied", 0,
         "<h1 id=\"t\">Le <b>titre</b> :</h1><h1 id=\"u\"><b>Le</b> <i>titre</i></h1>"
         "<h1 id=\"v\">  Chapitre\n\tun  </h1><h1 id=\"w\">Caf&eacute; R&D &amp; Tom & Jerry</h1>"
         "<h1 id=\"x\">l&rsquo;&eacute;t&#233; &euro;&#8217;</h1><h1 id=\"e\"></h1>",
         "[Le titre] #t @p.htm\n[Le titre] #u @p.htm\n[Chapitre un] #v @p.htm\n"
         "[Caf\xE9 R&D & Tom & Jerry] #w @p.htm\n[l\x92\xE9t\xE9 \x80\x92] #x @p.htm\n[] #e "
         "@p.htm\n",
         ""},
        {"heading inside a heading", 0, "<h1 id=\"a\">A <h2 id=\"b\">B</h2></h1><span ix=\"k\"/>",
         "[A B] #a @p.htm\n", "[k] #b @p.htm\n"},
        {"keyword in a heading", 0, "<h1 id=\"a\">Intro <span ix=\"1\">mot</span></h1>",
         "[Intro mot] #a @p.htm\n", "[mot] #a @p.htm\n"},
        {"heading in a keyword", 0, "<span ix=\"1\">voir <h1 id=\"b\">B</h1></span>",
         "[B] #b @p.htm\n", "[voir B] #b @p.htm\n"},
        {"keyword from text, tidied", 0, "<span ix=\"1\">  mot  cl&eacute; </span>", "",
         "[mot cl\xE9] # @p.htm\n"},
        {"keyword forms", 0,
         "<span ix=\"\">Texte</span><span ix=\"Outils|1\">Marteau</span>"
         "<span ix=\"Outils|\">Scie</span><span ix=\"Outils|Pince\">ignored</span>",
         "",
         "[Texte] # @p.htm\n[Outils] # @\n  [Marteau] # @p.htm\n  [Scie] # @p.htm\n"
         "  [Pince] # @p.htm\n"},
        {"same path twice", 0, "<span ix=\"A|B\"/><span ix=\"A|B\"/>", "",
         "[A] # @\n  [B] # @p.htm\n  [B] # @p.htm\n"},
        {"empty and untidied parts", 0, "<span ix=\"a||b\"/><span ix=\"|k\"/><span ix=\" x |y\"/>",
         "",
         "[a] # @\n  [] # @\n    [b] # @p.htm\n[] # @\n  [k] # @p.htm\n[ x ] # @\n"
         "  [y] # @p.htm\n"},
        {"ampersands and entities in keywords", 0,
         "<span ix=\"R&D\">x</span><span ix=\"&eacute;t&eacute;|caf&#233;\"/>"
         "<span ix=\"1\">Tom & Jerry</span>",
         "", "[R&D] # @p.htm\n[\xE9t\xE9] # @\n  [caf\xE9] # @p.htm\n[Tom & Jerry] # @p.htm\n"},
        {"keyword then path through it", 0, "<span ix=\"a\"/><span ix=\"a|b\"/>", "",
         "[a] # @p.htm\n  [b] # @p.htm\n"},
        {"path then keyword", 0, "<span ix=\"a|b\"/><span ix=\"a\"/>", "",
         "[a] # @\n  [b] # @p.htm\n[a] # @p.htm\n"},
        {"path takes the first equal child", 0,
         "<span ix=\"a\"/><span ix=\"a\"/><span ix=\"a|b\"/>", "",
         "[a] # @p.htm\n  [b] # @p.htm\n[a] # @p.htm\n"},
        {"anchor names: a name is no anchor", 0,
         "<p id=\"p1\"/><a name=\"z\"/><span ix=\"k1\"/><a id=\"z2\"/><span ix=\"k2\"/>"
         "<div name=\"d\"/><span ix=\"k3\"/>",
         "", "[k1] #p1 @p.htm\n[k2] #z2 @p.htm\n[k3] #d @p.htm\n"},
        {"names close to a, h1-h6, id, ix and name", 0,
         "<p id=\"p\"/><A name=\"z\"/><span ix=\"k1\"/><ab name=\"ab\"/><span ix=\"k2\"/>"
         "<h7 id=\"h7\">7</h7><h12 id=\"h12\">12</h12><h0 id=\"h0\">0</h0><hh id=\"hh\"/>"
         "<span idx=\"no\" i=\"no\" ixx=\"no\" names=\"no\" ix=\"k3\"/>",
         "", "[k1] #p @p.htm\n[k2] #ab @p.htm\n[k3] #hh @p.htm\n"},
        {"anchor taken on entry for ix values, on exit for texts", 0,
         "<h1 id=\"t\">T</h1><span ix=\"mot\">x<a id=\"y\"/></span>"
         "<span ix=\"1\">mot2 <a id=\"z\"/></span>",
         "[T] #t @p.htm\n", "[mot] #t @p.htm\n[mot2] #z @p.htm\n"},
        {"keyword before any anchor", 0, "<span ix=\"k\"/><h1 id=\"a\">A</h1>", "[A] #a @p.htm\n",
         "[k] # @p.htm\n"},
    };
    for (const PageCase& c : cases) {
        SCOPED_TRACE(c.what);
        Walk walk;
        HelpProject& project = walk.project;
        ASSERT_EQ(analyse(walk, "p.htm", c.depth, c.body), 0);
        EXPECT_EQ(contents(project), c.contents);
        EXPECT_EQ(index(project), c.index);
    }
}

TEST(PageVisitor, ContentsContinueFromPageToPage) {
    Walk walk;
    HelpProject& project = walk.project;
    ASSERT_EQ(analyse(walk, "p1.htm", 0, "<h1 id=\"a\">A</h1><h2 id=\"b\">B</h2>"), 0);
    ASSERT_EQ(analyse(walk, "p2.htm", 0, "<h3 id=\"c\">C</h3><span ix=\"k\"/>"), 0);
    ASSERT_EQ(
        analyse(walk, "p3.htm", 1, "<h1 id=\"x\">X</h1><h2 id=\"y\">Y</h2><h1 id=\"z\">Z</h1>"), 0);
    ASSERT_EQ(analyse(walk, "p4.htm", 0, "<h1 id=\"e\">E</h1>"), 0);
    EXPECT_EQ(contents(project),
              "[A] #a @p1.htm\n"
              "  [B] #b @p1.htm\n"
              "    [C] #c @p2.htm\n"
              "  [X] #x @p3.htm\n"
              "    [Y] #y @p3.htm\n"
              "  [Z] #z @p3.htm\n"
              "[E] #e @p4.htm\n");
    // The anchor does not carry over: p2's keyword comes after its own h3.
    EXPECT_EQ(index(project), "[k] #c @p2.htm\n");
    EXPECT_EQ(walk.trees.currentNode, project.contentsRoot.children.back().get());

    ASSERT_EQ(analyse(walk, "p5.htm", 0, "<span ix=\"k\"/>"), 0);
    EXPECT_EQ(index(project), "[k] #c @p2.htm\n[k] # @p5.htm\n");
}

TEST(PageVisitor, PageEntriesGiveEveryPageItsPlace) {
    Walk walk;
    walk.trees.pageEntries = true;
    const char* pages[][2] = {
        {"a.htm", "<title>T</title><h1 id=\"a\">A</h1><h2 id=\"b\">B</h2>"},  // as without
        {"b.htm", "<title>Tb</title><h1> </h1><h3 id=\"c\">C</h3>"},          // empty h1: <title>
        {"c.htm", "<h2 id=\"d\">D</h2><h1>Late</h1><h2 id=\"e\">E</h2>"},
        {"dir/d.htm", "<p ix=\"1\">k</p>"},
    };
    for (const auto& [file, body] : pages) ASSERT_EQ(analyse(walk, file, 0, body), 0);
    EXPECT_EQ(contents(walk.project),
              "[A] #a @a.htm\n"
              "  [B] #b @a.htm\n"
              "[Tb] #titre @b.htm\n"
              "  [] # @b.htm\n"
              "    [C] #c @b.htm\n"
              "[Late] #titre @c.htm\n"
              "  [D] #d @c.htm\n"
              "  [E] #e @c.htm\n"
              "[d.htm] #titre @dir/d.htm\n");
}

TEST(PageVisitor, NestedIxIsReportedAndIgnored) {
    Walk walk;
    HelpProject& project = walk.project;
    std::string text =
        "<html><body>\n"
        "<span ix=\"1\">out\n"
        "  <b ix=\"cl&eacute;|y\">in</b> er</span>\n"
        "</body></html>";
    ::testing::internal::CaptureStdout();
    const std::string name = "sub\\p.htm";
    PageMessages report(name);
    const int status = analysePage(walk.trees, name, 0, "dir\\sub\\p.htm", text, report);
    const std::string printed = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(status, 0);
    EXPECT_EQ(printed,
              "Erreur durant l'analyse du fichier\"sub\\p.htm\"\n"
              " Ligne=3, Colonne=3\n"
              " Description=\"Attribut ix='cl\xC3\xA9|y' illegalement imbrique\".\n");
    EXPECT_EQ(index(project), "[out in er] # @sub\\p.htm\n");
}

// Each level of a keyword path is indented once more in the index outputs,
// so a path of 100,000 parts would write tens of gigabytes.
TEST(PageVisitor, KeywordPathsOfMoreThan256LevelsFailThePage) {
    const struct {
        std::size_t levels;
        int status;
    } cases[] = {{1, 0}, {256, 0}, {257, 13}, {100000, 13}};
    for (const auto& c : cases) {
        std::string ix = "k";
        for (std::size_t i = 1; i < c.levels; ++i) ix += "|k";
        Walk walk;
        HelpProject& project = walk.project;
        ::testing::internal::CaptureStdout();
        const int status =
            analyse(walk, "p.htm", 0, "\n<p ix=\"" + ix + "\">x</p><h1 id=\"after\">A</h1>");
        const std::string printed = ::testing::internal::GetCapturedStdout();
        EXPECT_EQ(status, c.status) << c.levels;
        std::size_t depth = 0;
        for (const TopicNode* node = &project.indexRoot; !node->children.empty();
             node = node->children.front().get()) {
            ++depth;
        }
        if (c.status == 0) {
            EXPECT_EQ(printed, "");
            EXPECT_EQ(depth, c.levels);
            EXPECT_EQ(contents(project), "[A] #after @p.htm\n");
        } else {
            EXPECT_EQ(printed,
                      "Erreur durant l'analyse du fichier\"p.htm\"\n"
                      " Ligne=2, Colonne=1\n"
                      " Description=\"Attribut ix de plus de 256 niveaux\".\n");
            EXPECT_EQ(depth, 0u) << "nothing of the refused value is kept";
            EXPECT_EQ(contents(project), "") << "the walk stops at the refusal";
        }
    }
}

TEST(PageVisitor, ParentLinksSurviveManyAppends) {
    Walk walk;
    HelpProject& project = walk.project;
    std::string body;
    for (int i = 0; i < 100; ++i) {
        body += "<h1 id=\"a" + std::to_string(i) + "\">A</h1>";
        for (int j = 0; j < 40; ++j) body += "<h2 id=\"b" + std::to_string(j) + "\">B</h2>";
        body += "<h4 id=\"d\">D</h4>";
    }
    ASSERT_EQ(analyse(walk, "p.htm", 0, body), 0);
    ASSERT_EQ(analyse(walk, "q.htm", 0, "<h2 id=\"late\">L</h2>"), 0);

    const std::string tree = contents(project);
    EXPECT_EQ(tree.find("bad-parent"), std::string::npos);
    EXPECT_EQ(tree.find("level="), std::string::npos);
    ASSERT_EQ(project.contentsRoot.children.size(), 100u);
    const TopicNode& last = *project.contentsRoot.children.back();
    ASSERT_EQ(last.children.size(), 41u);
    EXPECT_EQ(last.children.back()->anchor, "late");
    EXPECT_EQ(last.children.back()->file, "q.htm");
    int steps = 0;
    for (const TopicNode* node = walk.trees.currentNode; node != &project.contentsRoot;
         node = node->parent) {
        ASSERT_NE(node, nullptr);
        ++steps;
    }
    EXPECT_EQ(steps, 2);
}

}  // namespace
}  // namespace qv

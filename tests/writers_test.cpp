// The tree writers: contents sitemap (.hhc), contents and index HTML lists,
// and the sorted index sitemap (.hhk).

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "driver/help_project.h"
#include "driver/text_stream.h"
#include "output/sitemap.h"
#include "platform/collation.h"
#include "temp_dir.h"

namespace qv {
namespace {

TopicNode& add(TopicNode& parent, const std::string& title, const std::string& file,
               const std::string& anchor, int imageNumber = -1) {
    TopicNode& child = parent.appendChild();
    child.parent = &parent;
    child.title = title;
    child.file = file;
    child.anchor = anchor;
    child.imageNumber = imageNumber;
    return child;
}

std::string entry(const std::string& indent, const std::string& name, const std::string& local,
                  int imageNumber = -1) {
    std::string lines = indent + "<LI> <OBJECT type=\"text/sitemap\">\r\n" + indent +
                        "\t<param name=\"Name\" value=\"" + name + "\">\r\n" + indent +
                        "\t<param name=\"Local\" value=\"" + local + "\">\r\n";
    if (imageNumber >= 0) {
        lines += indent + "\t<param name=\"ImageNumber\" value=\"" + std::to_string(imageNumber) +
                 "\">\r\n";
    }
    return lines + indent + "\t</OBJECT>\r\n";
}

std::string group(const std::string& indent, const std::string& name) {
    return indent + "<LI> <OBJECT type=\"text/sitemap\">\r\n" + indent +
           "\t<param name=\"Name\" value=\"" + name + "\">\r\n" + indent +
           "\t<param name=\"See Also\" value=\"" + name + "\">\r\n" + indent + "\t</OBJECT>\r\n";
}

using Writer = void (TopicNode::*)(const HelpProject&, TextStream&, std::string&) const;

std::string render(const HelpProject& project, const TopicNode& root, Writer writer,
                   const std::string& indent) {
    StringTextStream out;
    std::string given = indent;
    (root.*writer)(project, out, given);
    EXPECT_EQ(given, indent) << "the caller's indentation must not change";
    return out.str();
}

std::string renderIndex(HelpProject& project, TopicNode& root) {
    KeywordCollator collator;
    StringTextStream out;
    std::string indent;
    root.writeIndexSitemap(project, out, indent, collator);
    return out.str();
}

TEST(FragmentRule, TitreMeansTheTopOfThePage) {
    const struct {
        std::string anchor;
        std::string fragment;
    } cases[] = {
        {"", ""},          {"titre", ""}, {"Titre", "#Titre"},   {"titres", "#titres"},
        {"titr", "#titr"}, {"s1", "#s1"}, {" titre", "# titre"},
    };
    for (const auto& c : cases) EXPECT_EQ(fragmentFor(c.anchor), c.fragment) << c.anchor;
}

TEST(TreeWriters, SideBySide) {
    const struct {
        const char* what;
        std::function<void(HelpProject&)> build;
        std::string htmlIndent;
        std::string sitemap;
        std::string contentsHtml;
        std::string indexHtml;
    } cases[] = {
        {"page entry with a child, target and directory",
         [](HelpProject& p) {
             p.listDirectoryUrl = "doc/";
             p.linkTarget = "main";
             add(add(p.contentsRoot, "Intro", "a.htm", "titre"), "Part", "a.htm", "s1", 3);
         },
         "  ",
         "<UL>\r\n" + entry("\t", "Intro", "doc/a.htm") + "\t<UL>\r\n" +
             entry("\t\t", "Part", "doc/a.htm#s1", 3) + "\t</UL>\r\n</UL>\r\n",
         "<ul>\r\n\r\n    <li><a href=\"a.htm\" class=\"page\" target=\"main\">Intro</a><ul>\r\n"
         "      <li><a href=\"a.htm#s1\" target=\"main\">Part</a></li></ul></li></ul>",
         "<ul>\r\n    <li><a href=\"a.htm#titre\" target=\"main\">Intro</a><ul>\r\n"
         "      <li><a href=\"a.htm#s1\" target=\"main\">Part</a></li></ul></li></ul>"},
        {"filler node, encoded titles, image 0",
         [](HelpProject& p) {
             add(add(p.contentsRoot, "", "p.htm", ""), "A<B", "p.htm", "x", 0);
             add(p.contentsRoot, "\xC9t\xE9", "q.htm", "");
         },
         "",
         "<UL>\r\n" + entry("\t", "[titre manquant]", "p.htm") + "\t<UL>\r\n" +
             entry("\t\t", "A&#x3C;B", "p.htm#x", 0) + "\t</UL>\r\n" +
             entry("\t", "&Eacute;t&eacute;", "q.htm") + "</UL>\r\n",
         "<ul>\r\n  <li><a href=\"p.htm\"><b style=\"color:red\">[titre manquant]</b></a><ul>\r\n"
         "    <li><a href=\"p.htm#x\">A&lt;B</a></li></ul>\r\n"
         "  <li><a href=\"q.htm\">\xC3\x89t\xC3\xA9</a></ul>",
         "<ul><ul>\r\n    <li><a href=\"p.htm#x\">A&lt;B</a></li></ul>\r\n"
         "  <li><a href=\"q.htm\">\xC3\x89t\xC3\xA9</a></li></ul>"},
        {"index group",
         [](HelpProject& p) {
             add(p.contentsRoot, "Alpha", "a.htm", "k1");
             add(add(p.contentsRoot, "Beta", "", ""), "Sub", "b.htm", "titre");
         },
         "",
         "<UL>\r\n" + entry("\t", "Alpha", "a.htm#k1") + entry("\t", "Beta", "") + "\t<UL>\r\n" +
             entry("\t\t", "Sub", "b.htm") + "\t</UL>\r\n</UL>\r\n",
         "<ul>\r\n  <li><a href=\"a.htm#k1\">Alpha</a></li>\r\n  <li><a href=\"\">Beta</a><ul>\r\n"
         "\r\n    <li><a href=\"b.htm\" class=\"page\">Sub</a></li></ul></ul>",
         "<ul>\r\n  <li><a href=\"a.htm#k1\">Alpha</a></li>\r\n"
         "  <li><span class=\"nolink\">Beta</span><ul>\r\n"
         "    <li><a href=\"b.htm#titre\">Sub</a></li></ul></li></ul>"},
        {"negative image and an anchor Titre",
         [](HelpProject& p) { add(p.contentsRoot, "N", "f.htm", "Titre", -5); }, "",
         "<UL>\r\n" + entry("\t", "N", "f.htm#Titre") + "</UL>\r\n",
         "<ul>\r\n  <li><a href=\"f.htm#Titre\">N</a></li></ul>",
         "<ul>\r\n  <li><a href=\"f.htm#Titre\">N</a></li></ul>"},
        {"root with a title",
         [](HelpProject& p) {
             p.contentsRoot.title = "Racine";
             p.contentsRoot.file = "r.htm";
         },
         "", entry("", "Racine", "r.htm"), "\r\n<li><a href=\"r.htm\">Racine</a>",
         "\r\n<li><a href=\"r.htm\">Racine</a></li>"},
        {"empty tree", [](HelpProject&) {}, "", "", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        HelpProject project;
        c.build(project);
        const TopicNode& root = project.contentsRoot;
        EXPECT_EQ(render(project, root, &TopicNode::writeContentsSitemap, ""), c.sitemap);
        EXPECT_EQ(render(project, root, &TopicNode::writeContentsHtml, c.htmlIndent),
                  c.contentsHtml);
        EXPECT_EQ(render(project, root, &TopicNode::writeIndexHtml, c.htmlIndent), c.indexHtml);
    }
}

TEST(TreeWriters, HtmlIndentationGrowth) {
    const struct {
        std::string start;
        std::string first;
        std::string second;
    } cases[] = {
        {"    ", "      ", "        "},    {"\t", "\t\t", "\t\t\t"},    {"", "  ", "    "},
        {"<div>", "<div>  ", "<div>    "}, {" \t", " \t  ", " \t    "},
    };
    HelpProject project;
    add(add(project.contentsRoot, "A", "f", "a"), "B", "f", "b");
    for (const auto& c : cases) {
        const std::string expected = "<ul>\r\n" + c.first + "<li><a href=\"f#a\">A</a><ul>\r\n" +
                                     c.second + "<li><a href=\"f#b\">B</a></li></ul></li></ul>";
        EXPECT_EQ(render(project, project.contentsRoot, &TopicNode::writeContentsHtml, c.start),
                  expected);
        EXPECT_EQ(render(project, project.contentsRoot, &TopicNode::writeIndexHtml, c.start),
                  expected);
    }
}

TEST(FileWriters, AFileThatCannotBeCreatedIsAFailure) {
    testing_support::TempDir dir;
    HelpProject project;
    const std::string base = dir.file("nowhere/manuel");
    EXPECT_EQ(project.writeProjectFile(base, "manuel.chm"), 3);
    EXPECT_EQ(project.writeContentsFile(base), 3);
    EXPECT_EQ(project.writeIndexFile(base), 3);
}

TEST(IndexSitemap, Shapes) {
    const struct {
        const char* what;
        std::function<void(HelpProject&)> build;
        std::string expected;
    } cases[] = {
        {"group with an empty title (|k)",
         [](HelpProject& p) { add(add(p.indexRoot, "", "", ""), "k", "k.htm", ""); },
         "<UL>\r\n\t<UL>\r\n" + entry("\t\t", "k", "k.htm") + "\t</UL>\r\n</UL>\r\n"},
        {"three levels (a|b|c)",
         [](HelpProject& p) {
             add(add(add(p.indexRoot, "a", "", ""), "b", "", ""), "c", "c.htm", "x");
         },
         "<UL>\r\n" + group("\t", "a") + "\t<UL>\r\n" + group("\t\t", "b") + "\t\t<UL>\r\n" +
             entry("\t\t\t", "c", "c.htm#x") + "\t\t</UL>\r\n\t</UL>\r\n</UL>\r\n"},
        {"only the name is encoded",
         [](HelpProject& p) {
             p.listDirectoryUrl = "d&o/";
             add(p.indexRoot, "R&D", "r&d.htm", "a&b");
         },
         "<UL>\r\n" + entry("\t", "R&#x26;D", "d&o/r&d.htm#a&b") + "</UL>\r\n"},
        {"encoded group name in See Also",
         [](HelpProject& p) { add(add(p.indexRoot, "\xC9t\xE9", "", ""), "x", "x.htm", "titre"); },
         "<UL>\r\n" + group("\t", "&Eacute;t&eacute;") + "\t<UL>\r\n" +
             entry("\t\t", "x", "x.htm") + "\t</UL>\r\n</UL>\r\n"},
        {"every level sorted",
         [](HelpProject& p) {
             TopicNode& g = add(p.indexRoot, "g", "", "");
             add(g, "b", "b.htm", "");
             add(g, "A", "a.htm", "");
             add(p.indexRoot, "C", "c.htm", "");
         },
         "<UL>\r\n" + entry("\t", "C", "c.htm") + group("\t", "g") + "\t<UL>\r\n" +
             entry("\t\t", "A", "a.htm") + entry("\t\t", "b", "b.htm") + "\t</UL>\r\n</UL>\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        HelpProject project;
        c.build(project);
        EXPECT_EQ(renderIndex(project, project.indexRoot), c.expected);
    }
}

std::vector<std::string> titles(const TopicNode& node) {
    std::vector<std::string> out;
    for (const auto& child : node.children) out.push_back(child->title + "@" + child->file);
    return out;
}

TEST(IndexSitemap, KeywordOrderIgnoresCaseAndPlacesAccents) {
    ASSERT_TRUE(KeywordCollator().linguistic()) << "the French collation must be available";
    HelpProject project;
    for (const char* title : {"z\xE8"
                              "bre",
                              "beta", "Alpha", "Zurich", "fin", "alpha", "\xC9t\xE9", "ete"}) {
        add(project.indexRoot, title, "p.htm", "");
    }
    renderIndex(project, project.indexRoot);
    std::vector<std::string> order = titles(project.indexRoot);
    ASSERT_EQ(order.size(), 8u);
    if (order[0] == "alpha@p.htm") std::swap(order[0], order[1]);
    const std::string html = render(project, project.indexRoot, &TopicNode::writeIndexHtml, "");
    EXPECT_LT(html.find(">beta<"), html.find(">ete<"));  // the HTML index follows the sort
    EXPECT_LT(html.find(">ete<"), html.find(">\xC3\x89t\xC3\xA9<"));
    EXPECT_EQ(order, (std::vector<std::string>{"Alpha@p.htm", "alpha@p.htm", "beta@p.htm",
                                               "ete@p.htm", "\xC9t\xE9@p.htm", "fin@p.htm",
                                               "z\xE8"
                                               "bre@p.htm",
                                               "Zurich@p.htm"}));
}

TEST(IndexSitemap, EqualKeywordsStayAdjacentWithTheirOwnPages) {
    HelpProject project;
    add(project.indexRoot, "mot", "1.htm", "");
    add(project.indexRoot, "zz", "z.htm", "");
    add(project.indexRoot, "autre", "a.htm", "");
    add(project.indexRoot, "mot", "2.htm", "m");
    add(project.indexRoot, "Mot", "3.htm", "");
    const std::string written = renderIndex(project, project.indexRoot);
    std::vector<std::string> order = titles(project.indexRoot);
    ASSERT_EQ(order.size(), 5u);
    EXPECT_EQ(order.front(), "autre@a.htm");
    EXPECT_EQ(order.back(), "zz@z.htm");
    std::vector<std::string> middle(order.begin() + 1, order.end() - 1);
    std::sort(middle.begin(), middle.end());
    EXPECT_EQ(middle, (std::vector<std::string>{"Mot@3.htm", "mot@1.htm", "mot@2.htm"}));
    for (const char* local : {"\"1.htm\"", "\"2.htm#m\"", "\"3.htm\""}) {
        EXPECT_NE(written.find(local), std::string::npos) << local;
    }
}

}  // namespace
}  // namespace qv

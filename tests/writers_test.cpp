// The tree writers: contents sitemap (.hhc), contents and index HTML lists,
// and the sorted index sitemap (.hhk).

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "io/text_stream.h"
#include "model/help_project.h"
#include "output/contents_file.h"
#include "output/html_lists.h"
#include "output/index_file.h"
#include "output/index_sort.h"
#include "output/project_file.h"
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

enum class Writer { ContentsSitemap, ContentsHtml, IndexHtml };

std::string render(const HelpProject& project, const TopicNode& root, Writer writer,
                   const std::string& indent, const std::string& target = "") {
    StringTextStream out;
    switch (writer) {
        case Writer::ContentsSitemap:
            writeContentsSitemap(root, project.listDirectoryUrl, out);
            break;
        case Writer::ContentsHtml:
            writeContentsHtml(root, project.utf8Titles, target, indent, out);
            break;
        case Writer::IndexHtml:
            writeIndexHtml(root, project.utf8Titles, target, indent, out);
            break;
    }
    return out.str();
}

std::string renderIndex(HelpProject& project, TopicNode& root) {
    sortIndex(root);
    StringTextStream out;
    writeIndexSitemap(root, project.listDirectoryUrl, out);
    return out.str();
}

TEST(TreeWriters, SideBySide) {
    const struct {
        const char* what;
        std::function<void(HelpProject&)> build;
        std::string target;
        std::string htmlIndent;
        std::string sitemap;
        std::string contentsHtml;
        std::string indexHtml;
    } cases[] = {
        {"page entry with a child, target and directory",
         [](HelpProject& p) {
             p.listDirectoryUrl = "doc/";
             add(add(p.contentsRoot, "Intro", "a.htm", "titre"), "Part", "a.htm", "s1", 3);
         },
         "main", "  ",
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
         "", "",
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
         "", "",
         "<UL>\r\n" + entry("\t", "Alpha", "a.htm#k1") + entry("\t", "Beta", "") + "\t<UL>\r\n" +
             entry("\t\t", "Sub", "b.htm") + "\t</UL>\r\n</UL>\r\n",
         "<ul>\r\n  <li><a href=\"a.htm#k1\">Alpha</a></li>\r\n  <li><a href=\"\">Beta</a><ul>\r\n"
         "\r\n    <li><a href=\"b.htm\" class=\"page\">Sub</a></li></ul></ul>",
         "<ul>\r\n  <li><a href=\"a.htm#k1\">Alpha</a></li>\r\n"
         "  <li><span class=\"nolink\">Beta</span><ul>\r\n"
         "    <li><a href=\"b.htm#titre\">Sub</a></li></ul></li></ul>"},
        {"negative image and an anchor Titre",
         [](HelpProject& p) { add(p.contentsRoot, "N", "f.htm", "Titre", -5); }, "", "",
         "<UL>\r\n" + entry("\t", "N", "f.htm#Titre") + "</UL>\r\n",
         "<ul>\r\n  <li><a href=\"f.htm#Titre\">N</a></li></ul>",
         "<ul>\r\n  <li><a href=\"f.htm#Titre\">N</a></li></ul>"},
        {"anchor with markup characters and a letter beyond ASCII",
         [](HelpProject& p) { add(p.contentsRoot, "Q", "f.htm", "q\"&lt;caf\xC3\xA9"); }, "", "",
         "<UL>\r\n" + entry("\t", "Q", "f.htm#q&quot;&amp;lt;caf\xE9") + "</UL>\r\n",
         "<ul>\r\n  <li><a href=\"f.htm#q&quot;&amp;lt;caf\xC3\xA9\">Q</a></li></ul>",
         "<ul>\r\n  <li><a href=\"f.htm#q&quot;&amp;lt;caf\xC3\xA9\">Q</a></li></ul>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        HelpProject project;
        c.build(project);
        const TopicNode& root = project.contentsRoot;
        EXPECT_EQ(render(project, root, Writer::ContentsSitemap, ""), c.sitemap);
        EXPECT_EQ(render(project, root, Writer::ContentsHtml, c.htmlIndent, c.target),
                  c.contentsHtml);
        EXPECT_EQ(render(project, root, Writer::IndexHtml, c.htmlIndent, c.target), c.indexHtml);
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
        EXPECT_EQ(render(project, project.contentsRoot, Writer::ContentsHtml, c.start), expected);
        EXPECT_EQ(render(project, project.contentsRoot, Writer::IndexHtml, c.start), expected);
    }
}

TEST(FileWriters, AFileThatCannotBeCreatedIsAFailure) {
    testing_support::TempDir dir;
    HelpProject project;
    const std::string base = dir.file("nowhere/manuel");
    EXPECT_EQ(writeProjectFile(project, base, "manuel.chm"), 3);
    EXPECT_EQ(writeContentsFile(project, base), 3);
    EXPECT_EQ(writeIndexFile(project, base), 3);
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
        {"the name encoded, the anchor escaped in code page 1252, the path as it is",
         [](HelpProject& p) {
             p.listDirectoryUrl = "d&o/";
             add(p.indexRoot, "R&D", "r&d.htm", "a&b\"<caf\xC3\xA9>");
         },
         "<UL>\r\n" + entry("\t", "R&#x26;D", "d&o/r&d.htm#a&amp;b&quot;&lt;caf\xE9&gt;") +
             "</UL>\r\n"},
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

TEST(IndexSitemap, KeywordOrderIgnoresCaseAndPlacesAccents) {
    HelpProject project;
    const std::pair<const char*, const char*> added[] = {
        {"z\xE8\x62re", "z"}, {"beta", "b"}, {"Alpha", "A"}, {"mot", "1"},
        {"Zurich", "Z"},      {"fin", "f"},  {"alpha", "a"}, {"\xC9t\xE9", "E"},
        {"mot", "2"},         {"ete", "e"},  {"Mot", "3"}};
    for (const auto& [title, file] : added) add(project.indexRoot, title, file, "");
    renderIndex(project, project.indexRoot);
    // Runs of equal keywords (case ignored) may come in any order among themselves.
    const std::vector<std::vector<std::string>> runs = {{"A", "a"}, {"b"},           {"e"}, {"E"},
                                                        {"f"},      {"1", "2", "3"}, {"z"}, {"Z"}};
    std::size_t next = 0;
    for (const auto& run : runs) {
        std::vector<std::string> got;
        for (std::size_t i = 0; i < run.size() && next < project.indexRoot.children.size(); ++i) {
            got.push_back(project.indexRoot.children[next++]->file);
        }
        std::sort(got.begin(), got.end());
        EXPECT_EQ(got, run);
    }
    // The HTML index written afterwards follows the sorted order.
    const std::string html = render(project, project.indexRoot, Writer::IndexHtml, "");
    EXPECT_LT(html.find(">ete<"), html.find(">\xC3\x89t\xC3\xA9<"));
    EXPECT_LT(html.find(">\xC3\x89t\xC3\xA9<"), html.find(">fin<"));
}

}  // namespace
}  // namespace qv

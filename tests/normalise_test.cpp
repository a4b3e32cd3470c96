#include "page/normalise.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>

namespace qv {
namespace {

using Cases = std::vector<std::pair<std::string, std::string>>;

void check(void (*pass)(std::string&), const Cases& cases) {
    for (const auto& [input, expected] : cases) {
        std::string text = input;
        pass(text);
        EXPECT_EQ(text, expected) << "input: " << input;
    }
}

TEST(NormalisePage, ClosesVoidElements) {
    check(normalisePage,
          {
              {"<br>", "<br/>"},
              {"<br/>", "<br/>"},
              {"<br />", "<br />"},
              {"<BR>", "<BR>"},
              {"<frame src=\"a.html\">", "<frame src=\"a.html\"/>"},
              {"<frame><frameset rows=\"*\">", "<frame><frameset rows=\"*\">"},
              {"<img alt=\"a>b\" src=\"x.png\">", "<img alt=\"a/>b\" src=\"x.png\">"},
              {"<meta a=\"1\"><link><hr><wbr>", "<meta a=\"1\"/><link/><hr/><wbr/>"},
              {"<br>x<br>y<br/>z<br>", "<br/>x<br/>y<br/>z<br/>"},
              {"<!-- <br> --><brief>", "<!-- <br/> --><brief/>"},
              {"<br><br", "<br/><br"},  // a prefix without ">" ends that tag's pass
              {"<hr><img src=x", "<hr/><img src=x"},
          });
}

// One tag's pass on its own, the plain way: find the tag, turn the next ">"
// into "/>" unless it is one already, search again after it.
void closeOneTagByItself(std::string_view tag, std::string& text) {
    for (std::size_t found = text.find(tag); found != std::string::npos;) {
        std::size_t close = text.find('>', found);
        if (close == std::string::npos) return;
        if (text[close - 1] != '/') text.insert(close++, 1, '/');
        found = text.find(tag, close + 1);
    }
}

TEST(CloseVoidTags, OneScanEqualsThePassesInTurn) {
    // Tags that share a ">", overlap, lack a ">" or sit inside one another.
    const std::string_view pieces[] = {"<br",    "<img ", "<hr",  "<meta", "<frame ",
                                       "<frame", ">",     "/",    "/>",    "x",
                                       " ",      "<",     "<wbr", "<link"};
    const std::string_view tags[] = {"<meta", "<link", "<img", "<br", "<hr", "<wbr", "<frame "};
    std::uint32_t seed = 12345;
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        for (int i = 0, n = 1 + round % 12; i < n; ++i) {
            seed = seed * 1664525u + 1013904223u;
            text += pieces[(seed >> 16) % std::size(pieces)];
        }
        std::string expected = text;
        for (std::string_view tag : tags) closeOneTagByItself(tag, expected);
        std::string actual = text;
        closeVoidTags(tags, std::size(tags), actual);
        ASSERT_EQ(actual, expected) << "input: " << text;
    }
}

TEST(DecodeEntities, KnownNamesOnlyAndNoRescan) {
    check(decodeEntities,
          {
              {"&eacute;&Eacute;&EACUTE;", "\xC3\xA9\xC3\x89&EACUTE;"},
              {"&nbsp;&euro;&semi;", "\xC2\xA0\xC2\x80;"},
              {"&mldr;&Dot;&sbsol;", "\xC2\x85\xC2\xA8\\"},  // later names of a shared code
              {"&lt;&amp;&#233;&#x41;&;", "&lt;&amp;&#233;&#x41;&;"},
              {"&abcdefghij;", "&abcdefghij;"},
              {"a & b; c", "a & b; c"},
              {"&abc&eacute;", "&abc\xC3\xA9"},  // ten bytes: no reference, search goes on
              {"&ab&eacute;", "&ab&eacute;"},    // nine bytes: rebuilt, not rescanned
              {"&&eacute;", "&&eacute;"},
              {"R&D &eacute;", "R&D &eacute;"},
              {"Tom & Jerry &eacute;", "Tom & Jerry \xC3\xA9"},
              {"&eacute; & x", "\xC3\xA9 & x"},
          });
}

TEST(NormalisePage, EscapesAmpersandsTheParserWouldDrop) {
    check(normalisePage,
          {
              {"R&D", "R&amp;D"},
              {"Tom & Jerry", "Tom &amp; Jerry"},
              {"<p ix=\"R&D\">x</p>", "<p ix=\"R&amp;D\">x</p>"},
              {"&lt;&gt;&amp;&quot;&apos;", "&lt;&gt;&amp;&quot;&apos;"},
              {"&#233;&#x41;&#xe9;", "&#233;&#x41;&#xe9;"},
              {"&#;&#X41;&#x;&#12a;", "&amp;#;&amp;#X41;&amp;#x;&amp;#12a;"},
              {"&lt &LT; &foo; &", "&amp;lt &amp;LT; &amp;foo; &amp;"},
              {"&&eacute;", "&amp;&amp;eacute;"},
              {"R&D &eacute;", "R&amp;D &amp;eacute;"},
              {"x & y &amp; z", "x &amp; y &amp; z"},
              // Past the point where the entity pass stops.
              {"&eacute; a & b &c &lt; &#65;", "\xC3\xA9 a &amp; b &amp;c &lt; &#65;"},
          });
}

// Its time on large pages is measured by the bench (BM_NormalisePage).
TEST(NormalisePage, ALargePage) {
    std::string text;
    for (int i = 0; i < 200000; ++i) text += "<br>&eacute;R&D ";
    normalisePage(text);
    EXPECT_EQ(text.substr(0, 30), "<br/>\xC3\xA9R&amp;D <br/>\xC3\xA9R&amp;D ");
    EXPECT_EQ(text.size(), 200000u * 15);
}

}  // namespace
}  // namespace qv

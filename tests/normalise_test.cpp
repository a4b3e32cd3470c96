#include "page/normalise.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace qv {
namespace {

struct Case {
    std::string input;
    std::string expected;
};

TEST(NormalisePage, ClosesVoidElements) {
    const Case cases[] = {
        {"<br>", "<br/>"},
        {"<br/>", "<br/>"},
        {"<br />", "<br />"},
        {"<BR>", "<BR>"},  // case-sensitive
        {"<img src=\"a.png\">", "<img src=\"a.png\"/>"},
        {"<frame src=\"a.html\">", "<frame src=\"a.html\"/>"},
        {"<frame>", "<frame>"},  // "<frame " needs something after the name
        {"<frameset rows=\"*\">", "<frameset rows=\"*\">"},
        // The slash goes before the first ">", even inside a value.
        {"<img alt=\"a>b\" src=\"x.png\">", "<img alt=\"a/>b\" src=\"x.png\">"},
        {"<meta a=\"1\"><link><hr><wbr>", "<meta a=\"1\"/><link/><hr/><wbr/>"},
        {"<br>x<br>y<br/>z<br>", "<br/>x<br/>y<br/>z<br/>"},
        {"<!-- <br> -->", "<!-- <br/> -->"},
        {"<brief>", "<brief/>"},  // the entry is a prefix, not a whole name
        // A prefix without any later ">" ends that tag's pass only.
        {"<br><br", "<br/><br"},
        {"<hr><img src=x", "<hr/><img src=x"},
        {"", ""},
    };
    for (const Case& c : cases) {
        std::string text = c.input;
        normalisePage(text);
        EXPECT_EQ(text, c.expected) << "input: " << c.input;
    }
}

TEST(CloseVoidTag, TouchesOnlyItsOwnTag) {
    std::string text = "<br><hr><br>";
    closeVoidTag("<br", text);
    EXPECT_EQ(text, "<br/><hr><br/>");
}

TEST(DecodeEntities, ReplacesKnownNamesOnly) {
    const Case cases[] = {
        {"&eacute;", "\xC3\xA9"},
        {"&Eacute;", "\xC3\x89"},
        {"&EACUTE;", "&EACUTE;"},
        {"&nbsp;", "\xC2\xA0"},
        {"&euro;", "\xC2\x80"},
        {"&semi;", ";"},
        {"&lt;&gt;&amp;&quot;&apos;", "&lt;&gt;&amp;&quot;&apos;"},
        {"&#233;&#x41;", "&#233;&#x41;"},
        {"&;", "&;"},
        {"&abcdefghij;", "&abcdefghij;"},
        {"a & b; c", "a & b; c"},
        {"caf&eacute; cr&egrave;me", "caf\xC3\xA9 cr\xC3\xA8me"},
        // Ten bytes up to the ";" are no reference: the search goes on one
        // byte after the "&" and finds the inner one.
        {"&abc&eacute;", "&abc\xC3\xA9"},
        // Nine bytes are a (unknown) reference, rebuilt and not rescanned.
        {"&ab&eacute;", "&ab&eacute;"},
        {"&&eacute;", "&&eacute;"},
        {"R&D &eacute;", "R&D &eacute;"},
        {"Tom & Jerry &eacute;", "Tom & Jerry \xC3\xA9"},
        // The pass stops at the first "&" with no ";" after it.
        {"&eacute; & x", "\xC3\xA9 & x"},
    };
    for (const Case& c : cases) {
        std::string text = c.input;
        decodeEntities(text);
        EXPECT_EQ(text, c.expected) << "input: " << c.input;
    }
}

TEST(NormalisePage, EscapesAmpersandsTheParserWouldDrop) {
    const Case cases[] = {
        {"R&D", "R&amp;D"},
        {"Tom & Jerry", "Tom &amp; Jerry"},
        {"<p ix=\"R&D\">x</p>", "<p ix=\"R&amp;D\">x</p>"},
        {"&lt;&gt;&amp;&quot;&apos;", "&lt;&gt;&amp;&quot;&apos;"},
        {"&#233;&#x41;&#xe9;&#0;", "&#233;&#x41;&#xe9;&#0;"},
        {"&#;", "&amp;#;"},
        {"&#X41;", "&amp;#X41;"},
        {"&#x;", "&amp;#x;"},
        {"&#12a;", "&amp;#12a;"},
        {"&#xG1;", "&amp;#xG1;"},
        {"&lt", "&amp;lt"},
        {"&LT;", "&amp;LT;"},
        {"&foo;", "&amp;foo;"},
        {"&", "&amp;"},
        {"&eacute;&", "\xC3\xA9&amp;"},
        {"&&eacute;", "&amp;&amp;eacute;"},
        {"R&D &eacute;", "R&amp;D &amp;eacute;"},
        {"x & y &amp; z", "x &amp; y &amp; z"},
        // Past the point where the entity pass stops.
        {"&eacute; a & b &c &lt; &#65;", "\xC3\xA9 a &amp; b &amp;c &lt; &#65;"},
    };
    for (const Case& c : cases) {
        std::string text = c.input;
        normalisePage(text);
        EXPECT_EQ(text, c.expected) << "input: " << c.input;
    }
}

TEST(NormalisePage, LinearOnLargePages) {
    std::string text;
    for (int i = 0; i < 200000; ++i) text += "<br>&eacute;R&D ";
    const auto start = std::chrono::steady_clock::now();
    normalisePage(text);
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start);
    EXPECT_LT(seconds.count(), 5.0);
    EXPECT_EQ(text.substr(0, 30), "<br/>\xC3\xA9R&amp;D <br/>\xC3\xA9R&amp;D ");
    EXPECT_EQ(text.size(), 200000u * 15);
}

}  // namespace
}  // namespace qv

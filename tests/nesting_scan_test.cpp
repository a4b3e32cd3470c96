#include "xml/nesting_scan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string>

#include "xml/parse.h"

namespace qv {
namespace {

constexpr std::size_t kNone = std::string::npos;
constexpr std::size_t kAny = static_cast<std::size_t>(-1);

// Where the scan finds an element past limit levels, or kNone.
std::size_t findTooDeepElement(const char* text, TiXmlEncoding encoding, std::size_t limit) {
    return findExcessiveElement(text, encoding, {limit, kAny, kAny}).offset;
}

// The element nesting of what TinyXML built: a node that failed to parse is
// still linked, so this is the depth its parser went to.
std::size_t elementDepth(const TiXmlNode& node) {
    std::size_t deepest = 0;
    for (const TiXmlNode* child = node.FirstChild(); child; child = child->NextSibling()) {
        deepest = std::max(deepest, elementDepth(*child));
    }
    return deepest + (node.ToElement() != nullptr ? 1 : 0);
}

std::size_t parserDepth(const std::string& padded, TiXmlEncoding encoding) {
    TiXmlDocument document;
    document.Parse(padded.c_str(), nullptr, encoding);
    return elementDepth(document);
}

// The scan must find the parser's depth exactly: an element past depth - 1,
// none past depth.
void expectSameDepth(const std::string& text, TiXmlEncoding encoding) {
    const std::string padded = text + std::string(4, '\0');
    const std::size_t depth = parserDepth(padded, encoding);
    EXPECT_EQ(findTooDeepElement(padded.c_str(), encoding, depth), kNone)
        << "depth " << depth << " in: " << text;
    if (depth > 0) {
        EXPECT_NE(findTooDeepElement(padded.c_str(), encoding, depth - 1), kNone)
            << "depth " << depth << " in: " << text;
    }
}

TEST(FindTooDeepElement, FollowsTheParserThroughWhatHidesOrShowsAnEndTag) {
    const std::string cases[] = {
        "<a><b><c/></b></a>",
        "<a/><b><c><d></d></c></b>",
        "  \n<a>\n <b>\n</b ></a >",
        "<a x='</a>'><b/></a>",  // an end tag inside a value
        "<a x='>'><b/></a>",
        "<a x='1' y=\"2\" z=3><b y=2/></a>",  // unquoted values end at "/"
        "<a x=1'><b/></a>",
        "<a>&#x</a>x41;<b/></a>",      // a hex reference read back from ";"
        "<a>&#</a>#1;<b/></a>",        // the same in decimal
        "<a x=\"&#x\"x1;\"><b/></a>",  // ... hiding the closing quote
        "<a>&#x;<b/></a>",
        "<a>&#x1<b/></a>;",
        "<a>&amp;&lt;&bogus;<b/></a>",
        "<a>\xF0</a><b/></a>",  // a UTF-8 lead byte steps over "</a"
        "<a>\xE2</a><b/></a>",
        "<a>\xC3</a><b/></a>",
        "<a>\xC1</a><b/></a>",
        "<a x='\xF0'><b/>'></a>",
        "<a>\xF0",
        "\xEF\xBB\xBF<a><b/></a>",
        "<\xEF\xBB\xBF"
        "a><b/></a>",
        "<a><!-- <b> </a> --><c></c></a>",
        "<a><!-- <b>",
        "<a><![CDATA[<b></a>]]><c/></a>",
        "<a><![CDATA[<b>",
        "<a><!DOCTYPE x <b>><c/></a>",
        "<a><?xml version='1.0'?><b/></a>",
        "<a><?php <b> ?><c/></a>",
        "<a></ab></a><b><c/></b>",  // a wrong end tag stops the parser
        "<a><b></a></b>",
        "<a><b c='1'</b></a>",
        "<1a><b/></1a>",
        "</a><b><c/></b>",
        "text<a><b/></a>",
        "<_a><_b/></_a>",
        "<a\xC3\xA9><b/></a\xC3\xA9>",
        "<a><b/><c><d/></c></a><e/>",
        "<?xml version='1.0' encoding='ISO-8859-1'?><a>\xF0</a><b/></a>",
        "<?xml version='1.0' encoding='UTF&#45;8'?><a>\xF0</a><b/></a>",
        "<?xml encoding='utf-8x'?><a>\xF0</a><b/></a>",
        "<?xml encoding=''?><a>\xF0</a><b/></a>",
        "<!-- x --><?xml encoding='latin1'?><a>\xF0</a><b/></a>",
        "<?xml encoding='latin1'><a>\xF0</a><b/></a>",
        "<?xml encoding=latin1 ?><a>\xF0</a><b/></a>",
        "<a>x</a><?xml encoding='latin1'?><a>\xF0</a><b/></a>",
    };
    for (const std::string& text : cases) {
        for (TiXmlEncoding encoding : {TIXML_ENCODING_UTF8, TIXML_ENCODING_UNKNOWN}) {
            expectSameDepth(text, encoding);
        }
    }
}

TEST(FindTooDeepElement, GoesOnWhereTheParserStopsAtARepeatedAttribute) {
    const char* text = "<a x='1' x='2'><b/></a>";
    EXPECT_EQ(parserDepth(std::string(text) + std::string(4, '\0'), TIXML_ENCODING_UTF8), 1u);
    EXPECT_EQ(findTooDeepElement(text, TIXML_ENCODING_UTF8, 1), 15u);
    EXPECT_EQ(findTooDeepElement(text, TIXML_ENCODING_UTF8, 2), kNone);
}

TEST(FindTooDeepElement, NeverBelowTheParserOnMixedPieces) {
    const std::string_view pieces[] = {
        "<a>",   "</a>",      "<b x='1'>",
        "</b>",  "<c/>",      "<!--",
        "-->",   "<![CDATA[", "]]>",
        "&#x",   "x1;",       "&#",
        "#2;",   "'",         "\"",
        ">",     "<",         "/",
        "\xF0",  "\xC3",      "\xEF\xBB\xBF",
        " ",     "t",         "<?xml encoding='latin1'?>",
        "<!x>",  "&amp;",     "=",
        "<a y=", ";",
    };
    std::uint32_t seed = 2024;
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        for (int i = 0, n = 1 + round % 16; i < n; ++i) {
            seed = seed * 1664525u + 1013904223u;
            text += pieces[(seed >> 16) % std::size(pieces)];
        }
        const std::string padded = text + std::string(4, '\0');
        for (TiXmlEncoding encoding : {TIXML_ENCODING_UTF8, TIXML_ENCODING_UNKNOWN}) {
            const std::size_t depth = parserDepth(padded, encoding);
            if (depth > 0) {
                ASSERT_NE(findTooDeepElement(padded.c_str(), encoding, depth - 1), kNone)
                    << "depth " << depth << " in: " << text;
            }
        }
    }
}

TEST(FindTooDeepElement, PointsAtTheFirstElementPastTheLimit) {
    std::string text;
    for (int i = 0; i < 100000; ++i) text += "<div>";
    EXPECT_EQ(findTooDeepElement(text.c_str(), TIXML_ENCODING_UTF8, 256), 5 * 256u);
    EXPECT_EQ(findTooDeepElement("<a>\n <b>\n  <c/>", TIXML_ENCODING_UTF8, 2), 11u);
    const TextPosition where = positionOf("<a>\n <b>\n  <c/>", 11);
    EXPECT_EQ(where.line, 3);
    EXPECT_EQ(where.column, 3);
    EXPECT_EQ(positionOf("\xC3\xA9t\xC3\xA9<x>", 5).column, 4);  // columns count characters
}

TEST(FindExcessiveElement, CountsTheAttributesOfEachElement) {
    auto attributes = [](int count) {
        std::string list;
        for (int i = 0; i < count; ++i) list += " a" + std::to_string(i) + "='1'";
        return list;
    };
    const struct {
        std::string text;
        std::size_t offset;
    } cases[] = {
        {"<a" + attributes(3) + "/>", kNone},
        {"<a" + attributes(4) + "/>", 0},
        {"<a" + attributes(3) + "><b" + attributes(3) + "/></a>", kNone},
        {"<a><!-- <b" + attributes(9) + "/> --><c" + attributes(4) + ">x</c></a>", 79},
        {"<a x='" + attributes(9) + "'/>", kNone},
    };
    for (const auto& c : cases) {
        const XmlExcess excess =
            findExcessiveElement(c.text.c_str(), TIXML_ENCODING_UTF8, {8, 3, kAny});
        EXPECT_EQ(excess.offset, c.offset) << c.text;
        if (c.offset != kNone) {
            EXPECT_EQ(excess.kind, XmlExcess::Kind::Attributes) << c.text;
        }
    }
}

TEST(ParseXml, RefusesTextBeyondTheLimitsWithoutParsingIt) {
    std::string deep;
    for (std::size_t i = 0; i <= kListLimits.nesting; ++i) deep += "<a>";
    std::string atLimit = deep.substr(3);
    std::string crowded = "<a";
    for (std::size_t i = 0; i <= kListLimits.attributes; ++i)
        crowded += " a" + std::to_string(i) + "=''";
    crowded += "/>";
    TiXmlDocument refused;
    EXPECT_EQ(parseXml(refused, deep, TIXML_ENCODING_UTF8, kListLimits).excess.offset,
              3 * kListLimits.nesting);
    EXPECT_EQ(refused.FirstChild(), nullptr);
    EXPECT_EQ(parseXml(refused, crowded, TIXML_ENCODING_UTF8, kListLimits).excess.kind,
              XmlExcess::Kind::Attributes);
    EXPECT_EQ(refused.FirstChild(), nullptr);
    TiXmlDocument parsed;
    EXPECT_NE(parseXml(parsed, atLimit, TIXML_ENCODING_UTF8, kListLimits).kind,
              XmlFailure::Kind::Refused);
    EXPECT_EQ(elementDepth(parsed), kListLimits.nesting);
}

// Loose lists nest one level per unclosed item: a page is refused only where
// TinyXML's parse would take more than about a second.
TEST(FindExcessiveElement, PagesBoundTheParsersWorkNotTheirDepth) {
    const struct {
        int items;
        bool refused;
    } cases[] = {{300, false}, {3000, false}, {10000, true}};
    for (const auto& c : cases) {
        std::string page = "<html><body><ul>";
        for (int i = 0; i < c.items; ++i) page += "<li>item\n";
        page += "</ul></body></html>";
        const XmlExcess excess =
            findExcessiveElement(page.c_str(), TIXML_ENCODING_UTF8, kPageLimits);
        EXPECT_EQ(excess.found(), c.refused) << c.items;
        if (c.refused) {
            EXPECT_EQ(excess.kind, XmlExcess::Kind::Work);
        }
    }
}

}  // namespace
}  // namespace qv

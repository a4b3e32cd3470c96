#include "page/encoding.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "page/entities.h"

namespace qv {
namespace {

struct Case {
    std::string input;
    std::string expected;
};

std::string utf8(std::uint32_t cp) {
    std::string out;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return out;
}

TEST(EncodeEntities, NamesAndReferences) {
    const Case cases[] = {
        {"Caf\xE9", "Caf&eacute;"},
        {"a<b & \"c\"", "a&#x3C;b &#x26; &#x22;c&#x22;"},
        {"a>b", "a&#x3E;b"},
        // Shared codes encode under their first name.
        {"\x85\xA8\xBD\x9C", "&hellip;&uml;&half;&oelig;"},
        {"\x80", "&euro;"},
        {"\x81\x8D\x8F\x90\x9D", "&#x81;&#x8D;&#x8F;&#x90;&#x9D;"},
        {"\xA0", "&nbsp;"},
        {"\xC9t\xE9", "&Eacute;t&eacute;"},
        {"\x9F\xFF\xD7", "&Yuml;&yuml;&times;"},
        // ASCII other than the four markup characters is never looked up.
        {"\\/'!#;=_[]", "\\/'!#;=_[]"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(encodeEntities(c.input), c.expected) << "input: " << c.input;
    }
}

TEST(EncodeEntities, EveryHighByteDecodesBackToItsCharacter) {
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        const std::string encoded = encodeEntities(std::string(1, static_cast<char>(byte)));
        const bool hole = byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 ||
                          byte == 0x9D;
        if (hole) {
            char expected[8];
            std::snprintf(expected, sizeof expected, "&#x%02X;", byte);
            EXPECT_EQ(encoded, expected);
            continue;
        }
        ASSERT_GE(encoded.size(), 3u) << byte;
        ASSERT_EQ(encoded.front(), '&') << byte;
        ASSERT_EQ(encoded.back(), ';') << byte;
        ASSERT_NE(encoded[1], '#') << "byte " << byte << " has a name";
        EXPECT_EQ(decodeEntity(encoded.substr(1, encoded.size() - 2)), utf8(byte)) << byte;
    }
}

TEST(EncodeUtf8Html, MarkupEntitiesAndUtf8) {
    const Case cases[] = {
        {"Caf\xE9", "Caf\xC3\xA9"},
        {"a<b & \"c\">", "a&lt;b &amp; &quot;c&quot;&gt;"},
        {"\xA0", "&nbsp;"},
        {"\x80", "\xC2\x80"},
        {"\x92", "\xC2\x92"},
        {"\x81", "\xC2\x81"},
        {"\xC0\xFF", "\xC3\x80\xC3\xBF"},
        {"l'\xE9t\xE9", "l'\xC3\xA9t\xC3\xA9"},
        {"\\/", "\\/"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(encodeUtf8Html(c.input), c.expected) << "input: " << c.input;
    }
}

TEST(Encoders, LongTitlesAreNeverCut) {
    const std::string letters(600, 'a');
    EXPECT_EQ(encodeEntities(letters), letters);
    EXPECT_EQ(encodeUtf8Html(letters), letters);

    const std::string edge = std::string(510, 'a') + "\xE9" + "b";
    EXPECT_EQ(encodeEntities(edge), std::string(510, 'a') + "&eacute;b");
    EXPECT_EQ(encodeUtf8Html(edge), std::string(510, 'a') + "\xC3\xA9" + "b");

    std::string accents, named, html;
    for (int i = 0; i < 100; ++i) {
        accents += "\xE9<";
        named += "&eacute;&#x3C;";
        html += "\xC3\xA9&lt;";
    }
    EXPECT_EQ(encodeEntities(accents), named);
    EXPECT_EQ(encodeUtf8Html(accents), html);
}

TEST(Utf8ToAnsi, LatinRangeKeepsItsByteValue) {
    const Case cases[] = {
        {"A", "A"},
        {"\xC3\xA9", "\xE9"},
        {"\xC5\x93", "\x9C"},
        {"\xC2\x80", "\x80"},  // U+0080 carries the byte 0x80
        {"\xC2\x9F", "\x9F"},
        {"\xC2\xA0", "\xA0"},
        {"\xC3\xBF", "\xFF"},
        {"a\xC3\xA9\xE2\x80\x99" "b", "a\xE9\x92" "b"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(utf8ToAnsi(c.input), c.expected) << "input: " << c.input;
    }
}

TEST(Utf8ToAnsi, TheOtherCodePageCharacters) {
    const struct {
        std::uint32_t codePoint;
        unsigned char byte;
    } cases[] = {
        {0x20AC, 0x80}, {0x201A, 0x82}, {0x0192, 0x83}, {0x201E, 0x84}, {0x2026, 0x85},
        {0x2020, 0x86}, {0x2021, 0x87}, {0x02C6, 0x88}, {0x2030, 0x89}, {0x0160, 0x8A},
        {0x2039, 0x8B}, {0x0152, 0x8C}, {0x017D, 0x8E}, {0x2018, 0x91}, {0x2019, 0x92},
        {0x201C, 0x93}, {0x201D, 0x94}, {0x2022, 0x95}, {0x2013, 0x96}, {0x2014, 0x97},
        {0x02DC, 0x98}, {0x2122, 0x99}, {0x0161, 0x9A}, {0x203A, 0x9B}, {0x0153, 0x9C},
        {0x017E, 0x9E}, {0x0178, 0x9F},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(utf8ToAnsi(utf8(c.codePoint)), std::string(1, static_cast<char>(c.byte)))
            << std::hex << c.codePoint;
    }
    // Anything else gives a single "?", whatever its length in UTF-8.
    for (std::uint32_t codePoint : {0x0100u, 0x0394u, 0x4E2Du, 0xFFFDu, 0x1F600u, 0x10FFFFu}) {
        EXPECT_EQ(utf8ToAnsi("<" + utf8(codePoint) + ">"), "<?>") << std::hex << codePoint;
    }
}

TEST(Utf8ToAnsi, MalformedGivesOneMarkPerFirstByte) {
    const Case cases[] = {
        {"\x80", "?"},                           // lone continuation byte
        {"a\xBF" "b", "a?b"},
        {"\xC3", "?"},                           // truncated at the end
        {"\xC3" "A", "?A"},
        {"\xC3\xC3\xA9", "?\xE9"},
        {"\xE2\x82" "A", "??A"},                 // truncated three-byte sequence
        {"\xF0\x9F\x98" "x", "???x"},
        {"\xC0\xAF", "??"},                      // overlong
        {"\xC1\xBF", "??"},
        {"\xE0\x80\x80", "???"},
        {"\xF0\x80\x80\x80", "????"},
        {"\xED\xA0\x80", "???"},                 // surrogate
        {"\xED\xBF\xBF", "???"},
        {"\xF4\x90\x80\x80", "????"},            // above U+10FFFF
        {"\xF5\x80\x80\x80", "????"},
        {"\xFE\xFF", "??"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(utf8ToAnsi(c.input), c.expected) << "input: " << c.input;
    }
}

}  // namespace
}  // namespace qv

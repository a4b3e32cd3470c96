#include "text/encoders.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>

#include "text/entities.h"
#include "text_cases.h"

namespace qv {
namespace {

using testing_support::Cases;
using testing_support::check;
using testing_support::utf8;

std::string encodeEntities(std::string_view text) {
    std::string out;
    appendEntities(out, text);
    return out;
}

std::string encodeUtf8Html(std::string_view text) {
    std::string out;
    appendUtf8Html(out, text);
    return out;
}

TEST(EncodeEntities, NamesAndReferences) {
    check(encodeEntities,
          {
              {"Caf\xE9", "Caf&eacute;"},
              {"a<b & \"c\">", "a&#x3C;b &#x26; &#x22;c&#x22;&#x3E;"},
              {"\x85\xA8\xBD\x9C\x80\xA0", "&hellip;&uml;&half;&oelig;&euro;&nbsp;"},
              {"\x81\x8D\x8F\x90\x9D", "&#x81;&#x8D;&#x8F;&#x90;&#x9D;"},
              {"\xC9t\xE9", "&Eacute;t&eacute;"},
              {"\\/'!#;=_[]", "\\/'!#;=_[]"},
          });
}

TEST(EncodeEntities, EveryNamedHighByteDecodesBackToItsCharacter) {
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        const std::string encoded = encodeEntities(std::string(1, static_cast<char>(byte)));
        char numeric[8];
        std::snprintf(numeric, sizeof numeric, "&#x%02X;", byte);
        const bool hole =
            byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
        if (hole) {
            EXPECT_EQ(encoded, numeric);
        } else {
            ASSERT_NE(encoded, numeric);
            std::string_view decoded;
            ASSERT_TRUE(lookupCharacterEntity(encoded.substr(1, encoded.size() - 2), decoded));
            EXPECT_EQ(decoded, utf8(byte)) << byte;
        }
    }
    std::string_view unused;
    EXPECT_FALSE(lookupCharacterEntity("lt", unused));
    EXPECT_FALSE(lookupCharacterEntity("", unused));
}

TEST(EncodeUtf8Html, MarkupEntitiesAndUtf8) {
    const Cases cases = {
        {"Caf\xE9", "Caf\xC3\xA9"},
        {"a<b & \"c\">", "a&lt;b &amp; &quot;c&quot;&gt;"},
        {"\xA0\x80\x92\x81", "&nbsp;\xE2\x82\xAC\xE2\x80\x99\xC2\x81"},
        {"l'\xC0\xFF\\", "l'\xC3\x80\xC3\xBF\\"},
    };
    check(encodeUtf8Html, cases);
}

// Bytes 0x80-0x9F are typographic characters in code page 1252, not C1
// controls: each is written as the UTF-8 of the character it stands for,
// and the five the code page leaves undefined as U+0081 ... U+009D.
TEST(EncodeUtf8Html, TheThirtyTwoTypographicBytes) {
    const char* const expected[32] = {
        "\u20AC",   "\xC2\x81", "\u201A", "\u0192", "\u201E", "\u2026",   "\u2020", "\u2021",
        "\u02C6",   "\u2030",   "\u0160", "\u2039", "\u0152", "\xC2\x8D", "\u017D", "\xC2\x8F",
        "\xC2\x90", "\u2018",   "\u2019", "\u201C", "\u201D", "\u2022",   "\u2013", "\u2014",
        "\u02DC",   "\u2122",   "\u0161", "\u203A", "\u0153", "\xC2\x9D", "\u017E", "\u0178"};
    for (int byte = 0x80; byte <= 0x9F; ++byte) {
        EXPECT_EQ(encodeUtf8Html(std::string(1, static_cast<char>(byte))), expected[byte - 0x80])
            << std::hex << byte;
    }
}

std::string encodeScriptString(std::string_view text) {
    std::string out;
    appendScriptString(out, text);
    return out;
}

TEST(EncodeScriptString, JsonThatNoScriptElementEnds) {
    check(encodeScriptString, {
                                  {"", "\"\""},
                                  {"pages/a.html#x", "\"pages/a.html#x\""},
                                  {"a\"b\\c/d'e&f>", "\"a\\\"b\\\\c/d'e&f>\""},
                                  {"</script><!--", "\"\\u003c/script>\\u003c!--\""},
                                  {std::string("\b\f\n\r\t\x01\x1F\x7F\0", 9),
                                   "\"\\b\\f\\n\\r\\t\\u0001\\u001f\x7F\\u0000\""},
                                  {"caf\xC3\xA9 \xE2\x82\xAC", "\"caf\xC3\xA9 \xE2\x82\xAC\""},
                                  {"a\xE2\x80\xA8"
                                   "b\xE2\x80\xA9\xE2\x80\xAA\xE2\x80",
                                   "\"a\\u2028b\\u2029\xE2\x80\xAA\xE2\x80\""},
                              });
}

TEST(Encoders, LongTitlesAreNeverCut) {
    const std::string edge = std::string(600, 'a') + "\xE9" + "b";
    EXPECT_EQ(encodeEntities(edge), std::string(600, 'a') + "&eacute;b");
    EXPECT_EQ(encodeUtf8Html(edge), std::string(600, 'a') + "\xC3\xA9" + "b");
    std::string accents, named, html;
    for (int i = 0; i < 100; ++i) {
        accents += "\xE9<";
        named += "&eacute;&#x3C;";
        html += "\xC3\xA9&lt;";
    }
    EXPECT_EQ(encodeEntities(accents), named);
    EXPECT_EQ(encodeUtf8Html(accents), html);
}

}  // namespace
}  // namespace qv

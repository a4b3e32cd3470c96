#include "text/cp1252.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "text_cases.h"

namespace qv {
namespace {

using testing_support::Cases;
using testing_support::check;
using testing_support::utf8;

TEST(Utf8ToCp1252, WellFormed) {
    const Cases cases = {
        {"A\xC3\xA9\xC5\x93", "A\xE9\x9C"},
        {"\xC2\x80\xC2\x9F\xC2\xA0\xC3\xBF", "\x80\x9F\xA0\xFF"},  // U+0080-U+00FF keep their value
        {"a\xE2\x80\x99\x62", "a\x92\x62"},
    };
    check(utf8ToCp1252, cases);
    const std::pair<std::uint32_t, unsigned char> cp1252[] = {
        {0x20AC, 0x80}, {0x201A, 0x82}, {0x0192, 0x83}, {0x201E, 0x84}, {0x2026, 0x85},
        {0x2020, 0x86}, {0x2021, 0x87}, {0x02C6, 0x88}, {0x2030, 0x89}, {0x0160, 0x8A},
        {0x2039, 0x8B}, {0x0152, 0x8C}, {0x017D, 0x8E}, {0x2018, 0x91}, {0x2019, 0x92},
        {0x201C, 0x93}, {0x201D, 0x94}, {0x2022, 0x95}, {0x2013, 0x96}, {0x2014, 0x97},
        {0x02DC, 0x98}, {0x2122, 0x99}, {0x0161, 0x9A}, {0x203A, 0x9B}, {0x0153, 0x9C},
        {0x017E, 0x9E}, {0x0178, 0x9F}};
    for (const auto& [cp, byte] : cp1252) {
        EXPECT_EQ(utf8ToCp1252(utf8(cp)), std::string(1, static_cast<char>(byte)))
            << std::hex << cp;
    }
    for (std::uint32_t cp : {0x0100u, 0x0394u, 0x4E2Du, 0xFFFDu, 0x1F600u, 0x10FFFFu}) {
        EXPECT_EQ(utf8ToCp1252("<" + utf8(cp) + ">"), "<?>") << std::hex << cp;
    }
}

TEST(Utf8ToCp1252, MalformedGivesOneMarkPerFirstByte) {
    const Cases cases = {
        {"\x80", "?"},
        {"a\xBF\x62", "a?b"},
        {"\xC3", "?"},
        {"\xC3\x41", "?A"},
        {"\xC3\xC3\xA9", "?\xE9"},
        {"\xE2\x82\x41", "??A"},
        {"\xF0\x9F\x98x", "???x"},
        {"\xC0\xAF", "??"},  // overlong
        {"\xE0\x80\x80", "???"},
        {"\xF0\x80\x80\x80", "????"},
        {"\xED\xA0\x80", "???"},       // surrogate
        {"\xF4\x90\x80\x80", "????"},  // above U+10FFFF
        {"\xFE\xFF", "??"},
    };
    check(utf8ToCp1252, cases);
}

}  // namespace
}  // namespace qv

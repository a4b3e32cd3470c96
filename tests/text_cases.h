#pragma once
// What the tests of text conversions share: tables of input and expected
// output, and the UTF-8 form of a code point written independently of the
// code under test.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qv::testing_support {

using Cases = std::vector<std::pair<std::string, std::string>>;

inline std::string utf8(std::uint32_t cp) {
    if (cp < 0x80) return std::string(1, static_cast<char>(cp));
    std::string out;
    int extra = cp < 0x800 ? 1 : cp < 0x10000 ? 2 : 3;
    out += static_cast<char>(((0xFF00 >> (extra + 1)) & 0xFF) | (cp >> (6 * extra)));
    for (int i = extra - 1; i >= 0; --i) out += static_cast<char>(0x80 | ((cp >> (6 * i)) & 0x3F));
    return out;
}

inline void check(std::string (*convert)(std::string_view), const Cases& cases) {
    for (const auto& [input, expected] : cases) {
        EXPECT_EQ(convert(input), expected) << "input: " << input;
    }
}

}  // namespace qv::testing_support

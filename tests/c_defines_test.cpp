#include "text/c_defines.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

// Each line alone: the define it gives (empty name for none).
TEST(ReadDefines, TakesOnlyNumbersTheProgramSees) {
    struct Case {
        const char* line;
        const char* name;
        std::uint32_t value;
        std::size_t column;
    };
    const Case cases[] = {
        {"#define IDH_A 1001", "IDH_A", 1001, 9},
        {"#define IDH_A 0x3EA // dialog", "IDH_A", 0x3EA, 9},
        {"  #  define\tIDH_A\t0X3ea/* dialog */", "IDH_A", 0x3EA, 13},
        {"#define IDH_A 0", "IDH_A", 0, 9},
        {"#define IDH_A 4294967295", "IDH_A", 4294967295u, 9},
        {"#define IDH_A 4294967296", "", 0, 0},
        {"#define IDH_A 010", "", 0, 0},  // octal in C
        {"#define IDH_A 1001L", "", 0, 0},
        {"#define IDH_A (1001)", "", 0, 0},
        {"#define IDH_A 1001 + 1", "", 0, 0},
        {"#define IDH_A(x) 1001", "", 0, 0},
        {"#define 1A 1001", "", 0, 0},
        {"#define IDH_A", "", 0, 0},
        {"#defineIDH_A 1", "", 0, 0},
        {"#undef IDH_A 1", "", 0, 0},
        {"// #define IDH_A 1", "", 0, 0},
        {"#define IDH_A 0x", "", 0, 0},
    };
    for (const Case& c : cases) {
        const std::vector<CDefine> defines = readDefines(c.line);
        if (*c.name == '\0') {
            EXPECT_TRUE(defines.empty()) << c.line;
            continue;
        }
        ASSERT_EQ(defines.size(), 1u) << c.line;
        EXPECT_EQ(defines[0].name, c.name) << c.line;
        EXPECT_EQ(defines[0].value, c.value) << c.line;
        EXPECT_EQ(defines[0].line, 1u) << c.line;
        EXPECT_EQ(defines[0].column, c.column) << c.line;
    }
}

TEST(ReadDefines, NumbersLinesFromOne) {
    const auto defines = readDefines("#pragma once\n\n#define A 1\n#define B 2");
    ASSERT_EQ(defines.size(), 2u);
    EXPECT_EQ(defines[0].line, 3u);
    EXPECT_EQ(defines[1].line, 4u);
}

}  // namespace
}  // namespace qv

#include "driver/text_stream.h"

#include <gtest/gtest.h>

#include <string>

#include "temp_dir.h"

namespace qv {
namespace {

using testing_support::TempDir;

TEST(StringTextStream, LineFeedsBecomeCrLf) {
    const struct {
        std::string written;
        std::string stored;
    } cases[] = {
        {"a\nb", "a\r\nb"},
        {"\n\n", "\r\n\r\n"},
        {"a\rb", "a\rb"},        // a lone CR is copied
        {"\r\n", "\r\r\n"},      // every LF gains a CR, whatever precedes it
        {"no line end", "no line end"},
        {"", ""},
    };
    for (const auto& c : cases) {
        StringTextStream out;
        out << std::string_view(c.written);
        EXPECT_EQ(out.str(), c.stored);
    }
}

TEST(StringTextStream, NumbersCharactersAndLargeOutput) {
    StringTextStream out;
    out << 42 << ' ' << -1 << '\n';
    EXPECT_EQ(out.str(), "42 -1\r\n");

    StringTextStream big;
    std::string expected;
    for (int i = 0; i < 50000; ++i) {
        big << "line\n";
        expected += "line\r\n";
    }
    EXPECT_EQ(big.str(), expected);
}

TEST(FileTextStream, WritesCrLfAndReportsAMissingDirectory) {
    TempDir dir;
    {
        FileTextStream out;
        ASSERT_EQ(out.open(dir.file("a.hhp")), 0);
        out << "[OPTIONS]\n" << "x\ry\n";
        ASSERT_EQ(out.close(), 0);
    }
    EXPECT_EQ(dir.read("a.hhp"), "[OPTIONS]\r\nx\ry\r\n");

    FileTextStream missing;
    EXPECT_EQ(missing.open(dir.file("nowhere/a.hhc")), 3);
    missing << "lost\n";
    EXPECT_EQ(missing.close(), 3);
    EXPECT_EQ(dir.list(), std::vector<std::string>{"a.hhp"});
}

}  // namespace
}  // namespace qv

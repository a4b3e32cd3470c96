#include "io/text_loading.h"

#include <gtest/gtest.h>

#include "temp_dir.h"

namespace qv {
namespace {

using testing_support::TempDir;

TEST(LoadTextFile, FoldsEachCrLfOnce) {
    const std::pair<std::string, std::string> cases[] = {
        {"a\r\n", "a\n"},
        {"\r\r\n", "\r\n"},
        {"\n\r", "\n\r"},
        {"a\rb", "a\rb"},
        {"\r\n\r\n", "\n\n"},
        {"\r\r\r\n\n", "\r\r\n\n"},
        {std::string("a\0\r\nb", 5), std::string("a\0\nb", 4)},
    };
    TempDir dir;
    for (const auto& [bytes, expected] : cases) {
        dir.write("f.txt", bytes);
        std::string text = "left over";
        ASSERT_EQ(loadTextFile(DiskFileReader(), dir.file("f.txt"), text), 0);
        if (!text.empty() && text.back() == '\0') text.pop_back();  // the NUL may be held
        EXPECT_EQ(text, expected);
    }
}

TEST(LoadTextFile, Statuses) {
    TempDir dir;
    dir.write("empty.txt", "");
    dir.makeDirectory("sub");
    dir.write("sub/p.htm", "x");
    const std::pair<std::string, int> cases[] = {
        {dir.file("empty.txt"), 4306},        {dir.file("missing.txt"), 2},
        {dir.file("nowhere/missing.txt"), 3}, {dir.file("sub"), 5},
        {dir.path() + "\\sub\\p.htm", 0},  // backslashes reach the system as slashes
    };
    for (const auto& [path, status] : cases) {
        std::string text;
        EXPECT_EQ(loadTextFile(DiskFileReader(), path, text), status) << path;
    }
}

// Its time on large texts is measured by the bench (BM_FoldLineEnds).
TEST(FoldLineEnds, ALargeText) {
    std::string text;
    for (int i = 0; i < 1000000; ++i) text += "\r\n";
    foldLineEnds(text);
    EXPECT_EQ(text, std::string(1000000, '\n'));
}

}  // namespace
}  // namespace qv

#include "driver/loading.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "temp_dir.h"

namespace qv {
namespace {

using testing_support::TempDir;

// The loaded text as consumers see it: up to the terminating NUL, which may
// or may not be held as a byte of the string.
std::string withoutFinalNul(std::string text) {
    if (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
}

TEST(LoadTextFile, FoldsEachCrLfOnce) {
    const struct {
        std::string bytes;
        std::string expected;
    } cases[] = {
        {"a\r\n", "a\n"},
        {"\r\r\n", "\r\n"},
        {"\n\r", "\n\r"},
        {"a\rb", "a\rb"},
        {"\r", "\r"},
        {"\r\n\r\n", "\n\n"},
        {"\r\r\r\n\n", "\r\r\n\n"},
        {"l1\r\nl2\nl3\r\n", "l1\nl2\nl3\n"},
        {std::string("a\0\r\nb", 5), std::string("a\0\nb", 4)},
    };
    TempDir dir;
    for (const auto& c : cases) {
        dir.write("f.txt", c.bytes);
        std::string text = "left over";
        ASSERT_EQ(loadTextFile(dir.file("f.txt"), text), 0);
        EXPECT_EQ(withoutFinalNul(text), c.expected);
    }
}

TEST(LoadTextFile, FailureStatuses) {
    TempDir dir;
    dir.write("empty.txt", "");
    dir.makeDirectory("sub");
    const struct {
        std::string path;
        int status;
    } cases[] = {
        {dir.file("empty.txt"), 4306},
        {dir.file("missing.txt"), 2},
        {dir.file("nowhere/missing.txt"), 3},
        {dir.file("sub"), 5},
    };
    for (const auto& c : cases) {
        std::string text = "left over";
        EXPECT_EQ(loadTextFile(c.path, text), c.status) << c.path;
    }
}

TEST(LoadTextFile, BackslashesReachTheFileSystemAsSlashes) {
    TempDir dir;
    dir.makeDirectory("sub");
    dir.write("sub/p.htm", "x\r\n");
    std::string text;
    ASSERT_EQ(loadTextFile(dir.path() + "\\sub\\p.htm", text), 0);
    EXPECT_EQ(withoutFinalNul(text), "x\n");
}

TEST(FoldLineEnds, LinearOnLargeTexts) {
    std::string text;
    for (int i = 0; i < 1000000; ++i) text += "\r\n";
    const auto start = std::chrono::steady_clock::now();
    foldLineEnds(text);
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start);
    EXPECT_LT(seconds.count(), 5.0);
    EXPECT_EQ(text, std::string(1000000, '\n'));
}

}  // namespace
}  // namespace qv

#include "driver/run.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(ExitStatusFor, LowEightBitsAndNeverZeroForAFailure) {
    const std::pair<int, int> cases[] = {{0, 0},       {-1, 255}, {2, 2},    {13, 13},  {4306, 210},
                                         {65535, 255}, {256, 1},  {-256, 1}, {1117, 93}};
    for (const auto& [status, exit] : cases) EXPECT_EQ(exitStatusFor(status), exit) << status;
}

TEST(SplitListPath, DirectoryUrlAndName) {
    const struct {
        std::string argument, directory, directoryUrl, fileName;
    } cases[] = {
        {".\\docs\\list.xml", "docs\\", "docs/", "list.xml"},
        {"./docs/list.xml", "docs/", "docs/", "list.xml"},
        {".\\.\\x", ".\\", "./", "x"},  // one leading pair only
        {"docs/list.xml", "docs/", "docs/", "list.xml"},
        {"C:\\aide\\list.xml", "C:\\aide\\", "C:/aide/", "list.xml"},
        {"a\\b/c.xml", "a\\b/", "a/b/", "c.xml"},
        {"list.xml", "", "", "list.xml"},
        {".\\list.xml", "", "", "list.xml"},
    };
    for (const auto& c : cases) {
        const ListPath split = splitListPath(c.argument);
        EXPECT_EQ(split.directory, c.directory) << c.argument;
        EXPECT_EQ(split.directoryUrl, c.directoryUrl) << c.argument;
        EXPECT_EQ(split.fileName, c.fileName) << c.argument;
    }
}

}  // namespace
}  // namespace qv

#include "driver/run.h"

#include <gtest/gtest.h>

#include "driver/command_line.h"
#include "helpset/list_path.h"

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

TEST(ParseCommandLine, OptionsBeforeTheListFile) {
    const struct {
        std::vector<const char*> argv;
        bool understood, check;
        unsigned jobs;
        std::vector<std::string> arguments;
        bool chm = false;
    } cases[] = {
        {{"liste.xml", "aide"}, true, false, 0, {"liste.xml", "aide"}},
        {{"-j", "2", "liste.xml", "aide"}, true, false, 2, {"liste.xml", "aide"}},
        {{"-j8", "--check", "liste.xml"}, true, true, 8, {"liste.xml"}},
        {{"--check", "-j", "256", "liste.xml"}, true, true, 256, {"liste.xml"}},
        {{"-j", "1", "-j", "3", "l", "b", "c"}, true, false, 3, {"l", "b", "c"}},
        {{"liste.xml", "-j", "2"}, true, false, 0, {"liste.xml", "-j", "2"}},  // after: arguments
        {{"--check", "--check", "l"}, true, true, 0, {"--check", "l"}},
        {{"--chm", "-j", "2", "l", "b"}, true, false, 2, {"l", "b"}, true},
        {{"-j2", "--check", "--chm", "l"}, true, true, 2, {"l"}, true},
        {{"--chm", "--chm", "l", "b"}, true, false, 0, {"--chm", "l", "b"}, true},
        {{"-j", "0", "l", "b"}, false, false, 0, {}},
        {{"-j", "257", "l", "b"}, false, false, 0, {}},
        {{"-j", "2x", "l", "b"}, false, false, 0, {}},
        {{"-j", "-2", "l", "b"}, false, false, 0, {}},
        {{"-j"}, false, false, 0, {}},
        {{"-j", ""}, false, false, 0, {}},
        {{"-j+4", "l", "b"}, false, false, 0, {}},
    };
    for (const auto& c : cases) {
        std::vector<const char*> argv{"quorvane"};
        argv.insert(argv.end(), c.argv.begin(), c.argv.end());
        const CommandLine line = parseCommandLine(static_cast<int>(argv.size()), argv.data());
        SCOPED_TRACE(c.argv.size() > 1 ? c.argv[1] : c.argv[0]);
        EXPECT_EQ(line.understood, c.understood);
        if (!c.understood) continue;
        EXPECT_EQ(line.check, c.check);
        EXPECT_EQ(line.chm, c.chm);
        EXPECT_EQ(line.jobs, c.jobs);
        EXPECT_EQ(line.arguments, c.arguments);
    }
}

}  // namespace
}  // namespace qv

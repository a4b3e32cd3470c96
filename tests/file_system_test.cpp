#include "platform/file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "temp_dir.h"

namespace qv {
namespace {

using testing_support::TempDir;

TEST(StatusFromErrno, WindowsCodes) {
    TempDir dir;
    const std::string x = dir.file("x");
    const struct {
        int error;
        std::string path;
        int status;
    } cases[] = {
        {ENOENT, x, 2},   {ENOENT, "x", 2},       {ENOENT, dir.file("no/x"), 3},
        {ENOTDIR, x, 3},  {EACCES, x, 5},         {EPERM, x, 5},
        {EISDIR, x, 5},   {EMFILE, x, 4},         {ENFILE, x, 4},
        {ENOMEM, x, 8},   {EROFS, x, 19},         {ENOSPC, x, 112},
        {EDQUOT, x, 112}, {ENAMETOOLONG, x, 206}, {EIO, x, 1117},
        {ELOOP, x, 1921}, {EINVAL, x, 31},        {EBADF, x, 31},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(statusFromErrno(c.error, c.path), c.status) << c.error << " " << c.path;
    }
}

TEST(ReadWholeFile, ReadsPastOneBuffer) {
    TempDir dir;
    std::string bytes;
    for (int i = 0; i < 300000; ++i) bytes += static_cast<char>('a' + i % 26);
    dir.write("big.bin", bytes);
    std::string read;
    ASSERT_EQ(readWholeFile(dir.file("big.bin"), read), 0);
    EXPECT_EQ(read, bytes);
}

TEST(AtomicFile, OnlyACommittedWriteReplacesTheFile) {
    TempDir dir;
    AtomicFile missing;
    EXPECT_EQ(missing.open(dir.file("nowhere/out.hhc")), 3);

    dir.write("out.hhk", "previous");
    {
        AtomicFile abandoned;
        ASSERT_EQ(abandoned.open(dir.file("out.hhk")), 0);
        ASSERT_EQ(abandoned.write("trunc", 5), 0);
        abandoned.abandon();
        AtomicFile dropped;  // destroyed without commit
        ASSERT_EQ(dropped.open(dir.file("out.hhk")), 0);
        ASSERT_EQ(dropped.write("trunc", 5), 0);
    }
    EXPECT_EQ(dir.read("out.hhk"), "previous");
    EXPECT_EQ(dir.list(), std::vector<std::string>{"out.hhk"});

    AtomicFile committed;
    ASSERT_EQ(committed.open(dir.file("out.hhk")), 0);
    ASSERT_EQ(committed.write("new", 3), 0);
    ASSERT_EQ(committed.commit(), 0);
    EXPECT_EQ(dir.read("out.hhk"), "new");
    EXPECT_EQ(dir.list(), std::vector<std::string>{"out.hhk"});
}

bool commitEmpty(const std::string& path) {
    AtomicFile file;
    return file.open(path) == 0 && file.commit() == 0;
}

mode_t modeOf(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

TEST(AtomicFile, AnExistingFileKeepsItsModeANewOneGetsTheUmasks) {
    TempDir dir;
    for (mode_t mask : {mode_t(022), mode_t(077), mode_t(002)}) {
        const std::string old = dir.file("old" + std::to_string(mask) + ".html");
        const std::string fresh = dir.file("new" + std::to_string(mask) + ".html");
        dir.write("old" + std::to_string(mask) + ".html", "x");
        ::chmod(old.c_str(), 0640);
        const mode_t previous = ::umask(mask);
        const bool committed = commitEmpty(old) && commitEmpty(fresh);
        ::umask(previous);
        ASSERT_TRUE(committed);
        EXPECT_EQ(modeOf(old), 0640u) << std::oct << mask;
        EXPECT_EQ(modeOf(fresh), 0666 & ~mask) << std::oct << mask;
    }
}

// Writing through a symbolic link replaces what it points to and keeps the
// link, through a chain of links, relative or absolute, to a target that
// exists or not yet.
TEST(AtomicFile, WritesThroughSymbolicLinks) {
    TempDir dir;
    dir.makeDirectory("real");
    dir.write("real/aide.hhc", "old");
    const struct {
        const char* link;
        std::string target;
        const char* written;
    } cases[] = {
        {"relative.hhc", "real/aide.hhc", "real/aide.hhc"},
        {"absolute.hhc", dir.file("real/aide.hhc"), "real/aide.hhc"},
        {"chain.hhc", "relative.hhc", "real/aide.hhc"},
        {"dangling.hhc", "real/later.hhc", "real/later.hhc"},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(::symlink(c.target.c_str(), dir.file(c.link).c_str()), 0) << c.link;
        AtomicFile file;
        ASSERT_EQ(file.open(dir.file(c.link)), 0) << c.link;
        ASSERT_EQ(file.write(c.link, std::strlen(c.link)), 0);
        ASSERT_EQ(file.commit(), 0);
        struct stat info;
        ASSERT_EQ(::lstat(dir.file(c.link).c_str(), &info), 0);
        EXPECT_TRUE(S_ISLNK(info.st_mode)) << c.link << " is still a link";
        EXPECT_EQ(dir.read(c.written), c.link);
    }
}

}  // namespace
}  // namespace qv

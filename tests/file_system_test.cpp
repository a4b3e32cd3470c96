#include "platform/file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>

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

TEST(AtomicFile, CommittedFileHasTheModeOfANewFile) {
    TempDir dir;
    dir.write("old.html", "x");
    ::chmod(dir.file("old.html").c_str(), 0600);
    for (mode_t mask : {mode_t(022), mode_t(077), mode_t(002)}) {
        for (const char* name : {"old.html", "new.html"}) {
            const mode_t previous = ::umask(mask);
            AtomicFile file;
            const bool failed = file.open(dir.file(name)) != 0 || file.commit() != 0;
            ::umask(previous);
            ASSERT_FALSE(failed);
            struct stat info;
            ASSERT_EQ(::stat(dir.file(name).c_str(), &info), 0);
            EXPECT_EQ(info.st_mode & 0777, 0666 & ~mask) << name << " umask " << std::oct << mask;
        }
    }
}

}  // namespace
}  // namespace qv

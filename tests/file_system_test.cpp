#include "platform/file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "temp_dir.h"

namespace qv {
namespace {

using testing_support::TempDir;

TEST(StatusFromErrno, WindowsCodes) {
    TempDir dir;
    const struct {
        int error;
        std::string path;
        int status;
    } cases[] = {
        {ENOENT, dir.file("missing.txt"), 2},
        {ENOENT, "missing.txt", 2},
        {ENOENT, dir.file("nowhere/missing.txt"), 3},
        {ENOTDIR, dir.file("x"), 3},
        {EACCES, dir.file("x"), 5},
        {EPERM, dir.file("x"), 5},
        {EISDIR, dir.file("x"), 5},
        {EMFILE, dir.file("x"), 4},
        {ENFILE, dir.file("x"), 4},
        {ENOMEM, dir.file("x"), 8},
        {EROFS, dir.file("x"), 19},
        {ENOSPC, dir.file("x"), 112},
        {EDQUOT, dir.file("x"), 112},
        {ENAMETOOLONG, dir.file("x"), 206},
        {EIO, dir.file("x"), 1117},
        {ELOOP, dir.file("x"), 1921},
        {EINVAL, dir.file("x"), 31},
        {EBADF, dir.file("x"), 31},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(statusFromErrno(c.error, c.path), c.status) << "errno " << c.error;
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

class AtomicFileTest : public ::testing::Test {
protected:
    std::string commitBytes(const std::string& name, const std::string& bytes) {
        AtomicFile file;
        if (int status = file.open(dir.file(name))) return "open " + std::to_string(status);
        if (int status = file.write(bytes.data(), bytes.size())) {
            return "write " + std::to_string(status);
        }
        if (int status = file.commit()) return "commit " + std::to_string(status);
        return "ok";
    }
    TempDir dir;
};

TEST_F(AtomicFileTest, MissingDirectoryIsStatus3) {
    AtomicFile file;
    EXPECT_EQ(file.open(dir.file("nowhere/out.hhc")), 3);
    EXPECT_TRUE(dir.list().empty());
}

TEST_F(AtomicFileTest, CommitPutsTheWholeFileInPlace) {
    ASSERT_EQ(commitBytes("out.hhc", "first"), "ok");
    ASSERT_EQ(commitBytes("out.hhc", "second, longer"), "ok");
    EXPECT_EQ(dir.read("out.hhc"), "second, longer");
    EXPECT_EQ(dir.list(), std::vector<std::string>{"out.hhc"});
}

TEST_F(AtomicFileTest, AbandonedWriteKeepsThePreviousFileAndLeavesNoTemporary) {
    dir.write("out.hhk", "previous");
    {
        AtomicFile file;
        ASSERT_EQ(file.open(dir.file("out.hhk")), 0);
        ASSERT_EQ(file.write("trunc", 5), 0);
        file.abandon();
    }
    {
        AtomicFile file;  // destroyed without commit
        ASSERT_EQ(file.open(dir.file("out.hhk")), 0);
        ASSERT_EQ(file.write("trunc", 5), 0);
    }
    EXPECT_EQ(dir.read("out.hhk"), "previous");
    EXPECT_EQ(dir.list(), std::vector<std::string>{"out.hhk"});
}

TEST_F(AtomicFileTest, CommittedFileHasTheModeOfANewFile) {
    dir.write("old.html", "x");
    ::chmod(dir.file("old.html").c_str(), 0600);
    for (mode_t mask : {mode_t(022), mode_t(077), mode_t(002)}) {
        const mode_t previous = ::umask(mask);
        const std::string result = commitBytes("old.html", "y");
        const std::string fresh = commitBytes("new.html", "y");
        ::umask(previous);
        ASSERT_EQ(result, "ok");
        ASSERT_EQ(fresh, "ok");
        struct stat info;
        ASSERT_EQ(::stat(dir.file("old.html").c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0666 & ~mask) << std::oct << mask;
        ASSERT_EQ(::stat(dir.file("new.html").c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0666 & ~mask) << std::oct << mask;
    }
}

TEST_F(AtomicFileTest, UnwritableDirectoryIsStatus5) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not apply to root";
    dir.makeDirectory("locked");
    ::chmod(dir.file("locked").c_str(), 0500);
    AtomicFile file;
    EXPECT_EQ(file.open(dir.file("locked/out.hhp")), 5);
    ::chmod(dir.file("locked").c_str(), 0700);
}

}  // namespace
}  // namespace qv

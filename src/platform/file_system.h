#pragma once
// Files as the rest of the tool sees them: Windows-style paths in, Windows
// system error codes out. Everything that touches the file system is here.

#include <cstddef>
#include <string>

namespace qv {

// The path handed to the operating system: every backslash becomes a slash.
// Callers keep the original string for messages and for what they write.
std::string toOsPath(const std::string& path);

// The Windows system error code for a failed file operation on osPath.
int statusFromErrno(int error, const std::string& osPath);

// Reads the whole file into bytes (emptied first). Returns 0 or a status.
int readWholeFile(const std::string& path, std::string& bytes);

// What readRegularFile returns for a file it leaves alone.
constexpr int kFileLeftAlone = -2;

// As readWholeFile, but only a regular file of at most largest bytes: for
// anything else (a pipe, which could block; a device; a larger file) it
// reads nothing and returns kFileLeftAlone.
int readRegularFile(const std::string& path, std::string& bytes, std::size_t largest);

// Whether path names something that can be read as a file (not a directory).
bool fileExists(const std::string& path);

// Makes an interrupt, a hang-up or a termination request remove the
// temporary files of the AtomicFiles being written before the process ends
// as the signal would end it. Signals that are ignored stay ignored.
void removeTemporaryFilesOnSignal();

// An output file that only appears under its name once it is complete: the
// bytes go to a temporary file in the same directory, renamed over the
// target by commit(). A file never committed is removed, so a failed write
// leaves neither a truncated file nor a lost previous version. A target that
// is a symbolic link is written through: the link's final target is
// replaced and the link stays. An existing target keeps its permissions.
class AtomicFile {
public:
    AtomicFile() = default;
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    ~AtomicFile();

    int open(const std::string& path);
    int write(const char* data, std::size_t size);
    // Flushes, closes and renames into place; returns the first failure.
    int commit();
    // Closes and removes the temporary file.
    void abandon();

private:
    int fd_ = -1;
    std::string osPath_;
    std::string targetPath_;  // osPath_ with symbolic links followed
    std::string tempPath_;
    int pendingSlot_ = -1;  // where a signal handler finds tempPath_
};

}  // namespace qv

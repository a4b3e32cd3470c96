#include "platform/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

namespace qv {

std::string toOsPath(const std::string& path) {
    std::string osPath = path;
    for (char& c : osPath) {
        if (c == '\\') c = '/';
    }
    return osPath;
}

namespace {

bool directoryPartMissing(const std::string& osPath) {
    std::size_t slash = osPath.find_last_of('/');
    if (slash == std::string::npos) return false;
    std::string directory = slash == 0 ? "/" : osPath.substr(0, slash);
    struct stat info;
    return stat(directory.c_str(), &info) != 0 || !S_ISDIR(info.st_mode);
}

// The file a path finally names: a symbolic link is followed (to a target
// that may not exist yet), so that writing the path writes through the link.
std::string followLinks(const std::string& osPath) {
    std::string path = osPath;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info;
        if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) break;
        std::string target(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 256) + 1,
                           '\0');
        ssize_t length = readlink(path.c_str(), target.data(), target.size());
        if (length <= 0 || static_cast<std::size_t>(length) >= target.size()) break;
        target.resize(static_cast<std::size_t>(length));
        if (target[0] != '/') {
            std::size_t slash = path.find_last_of('/');
            if (slash != std::string::npos) target = path.substr(0, slash + 1) + target;
        }
        path = target;
    }
    return path;
}

mode_t currentUmask() {
    mode_t mask = umask(0);
    umask(mask);
    return mask;
}

}  // namespace

// The Windows code for a file that may not be opened or written as asked.
constexpr int kAccessDenied = 5;

int statusFromErrno(int error, const std::string& osPath) {
    switch (error) {
        case ENOENT:
            return directoryPartMissing(osPath) ? 3 : 2;
        case ENOTDIR:
            return 3;
        case EACCES:
        case EPERM:
        case EISDIR:
            return kAccessDenied;
        case EMFILE:
        case ENFILE:
            return 4;
        case ENOMEM:
            return 8;
        case EROFS:
            return 19;
        case ENOSPC:
        case EDQUOT:
            return 112;
        case ENAMETOOLONG:
            return 206;
        case EIO:
            return 1117;
        case ELOOP:
            return 1921;
        default:
            return 31;
    }
}

namespace {

// Reads at most size bytes straight into bytes: one buffer, which the
// pages of a large help set fill once instead of being copied.
int readKnownSize(int fd, const std::string& osPath, std::size_t size, std::string& bytes) {
    bytes.resize(size);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::read(fd, bytes.data() + done, size - done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return statusFromErrno(errno, osPath);
        if (got == 0) break;
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    return 0;
}

// Reads to the end of a file whose size is not known beforehand.
int readToEnd(int fd, const std::string& osPath, std::string& bytes) {
    char chunk[4096];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return statusFromErrno(errno, osPath);
        if (got == 0) return 0;
        bytes.append(chunk, static_cast<std::size_t>(got));
    }
}

// regularOnly: read only a regular file of at most largest bytes.
int readFile(const std::string& path, std::string& bytes, bool regularOnly, std::size_t largest) {
    bytes.clear();
    const std::string osPath = toOsPath(path);
    // Opening a pipe without a writer blocks, unless it is to be left alone.
    const int nonBlocking = regularOnly ? O_NONBLOCK : 0;
    int fd = ::open(osPath.c_str(), O_RDONLY | O_CLOEXEC | nonBlocking);
    if (fd < 0) return statusFromErrno(errno, osPath);
    int status = 0;
    struct stat info;
    if (fstat(fd, &info) != 0) {
        status = statusFromErrno(errno, osPath);
    } else if (regularOnly &&
               (!S_ISREG(info.st_mode) || static_cast<std::uintmax_t>(info.st_size) > largest)) {
        status = kFileLeftAlone;
    } else if (S_ISDIR(info.st_mode)) {
        status = kAccessDenied;  // a directory named as a file, as on Windows
    } else {
        // The size the system gives is what is read, as with one read of the
        // file's size on Windows; a file without one (a pipe, a device) is
        // read to its end.
        const std::size_t known = info.st_size > 0 ? static_cast<std::size_t>(info.st_size) : 0;
        status = known > 0 ? readKnownSize(fd, osPath, known, bytes) : readToEnd(fd, osPath, bytes);
    }
    ::close(fd);
    if (status != 0) bytes.clear();
    return status;
}

}  // namespace

int readWholeFile(const std::string& path, std::string& bytes) {
    return readFile(path, bytes, false, 0);
}

int readRegularFile(const std::string& path, std::string& bytes, std::size_t largest) {
    return readFile(path, bytes, true, largest);
}

bool fileExists(const std::string& path) {
    struct stat info;
    return stat(toOsPath(path).c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

namespace {

// The temporary files being written, for a signal handler to remove: a
// fixed table, since a handler may not allocate. The tool writes one file at
// a time; a file that finds no free slot is only not removed on a signal.
struct PendingFile {
    volatile std::sig_atomic_t used;
    char path[4096];
};
PendingFile pendingFiles[4];

int notePending(const std::string& path) {
    if (path.size() >= sizeof pendingFiles[0].path) return -1;
    for (int slot = 0; slot < 4; ++slot) {
        if (pendingFiles[slot].used) continue;
        std::memcpy(pendingFiles[slot].path, path.c_str(), path.size() + 1);
        std::atomic_signal_fence(std::memory_order_seq_cst);  // the path before the flag
        pendingFiles[slot].used = 1;
        return slot;
    }
    return -1;
}

void forgetPending(int& slot) {
    if (slot >= 0) pendingFiles[slot].used = 0;
    slot = -1;
}

extern "C" void removePendingFiles(int signal) {
    for (PendingFile& file : pendingFiles) {
        if (file.used) ::unlink(file.path);
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

}  // namespace

void removeTemporaryFilesOnSignal() {
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction current;
        if (sigaction(signal, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) continue;
        struct sigaction handler {};
        handler.sa_handler = removePendingFiles;
        sigemptyset(&handler.sa_mask);
        sigaction(signal, &handler, nullptr);
    }
}

AtomicFile::~AtomicFile() { abandon(); }

int AtomicFile::open(const std::string& path) {
    abandon();
    osPath_ = toOsPath(path);
    targetPath_ = followLinks(osPath_);
    std::size_t slash = targetPath_.find_last_of('/');
    std::string directory = slash == std::string::npos ? "" : targetPath_.substr(0, slash + 1);
    // A short fixed name, so that a target name near the length limit still
    // gets a temporary file of its own.
    std::string pattern = directory + ".qvtmp.XXXXXX";
    fd_ = mkstemp(pattern.data());
    if (fd_ < 0) {
        int status = statusFromErrno(errno, osPath_);
        return status;
    }
    tempPath_ = pattern;
    pendingSlot_ = notePending(tempPath_);
    return 0;
}

int AtomicFile::write(const char* data, std::size_t size) {
    if (fd_ < 0) return kAccessDenied;
    while (size > 0) {
        ssize_t done = ::write(fd_, data, size);
        if (done < 0) {
            if (errno == EINTR) continue;
            return statusFromErrno(errno, osPath_);
        }
        data += done;
        size -= static_cast<std::size_t>(done);
    }
    return 0;
}

int AtomicFile::commit() {
    if (fd_ < 0) return kAccessDenied;
    int status = 0;
    // A file that exists keeps its permissions; a new one gets 0666 less the
    // umask (mkstemp made it 0600).
    struct stat existing;
    const mode_t mode = stat(targetPath_.c_str(), &existing) == 0 ? existing.st_mode & 07777
                                                                  : 0666 & ~currentUmask();
    if (fchmod(fd_, mode) != 0) status = statusFromErrno(errno, osPath_);
    if (status == 0 && fsync(fd_) != 0 && errno != EINVAL && errno != EROFS) {
        status = statusFromErrno(errno, osPath_);
    }
    if (::close(fd_) != 0 && status == 0) status = statusFromErrno(errno, osPath_);
    fd_ = -1;
    if (status == 0 && std::rename(tempPath_.c_str(), targetPath_.c_str()) != 0) {
        status = statusFromErrno(errno, osPath_);
    }
    if (status != 0) {
        ::unlink(tempPath_.c_str());
    }
    forgetPending(pendingSlot_);
    tempPath_.clear();
    return status;
}

void AtomicFile::abandon() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!tempPath_.empty()) {
        ::unlink(tempPath_.c_str());
        forgetPending(pendingSlot_);
        tempPath_.clear();
    }
}

}  // namespace qv

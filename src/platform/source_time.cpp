#include "platform/source_time.h"

#include <sys/stat.h>

#include <cstdlib>

#include "platform/file_system.h"

namespace qv {

bool sourceDateEpoch(std::int64_t& seconds) {
    const char* value = std::getenv("SOURCE_DATE_EPOCH");
    if (value == nullptr || *value == '\0') return false;
    std::int64_t parsed = 0;
    for (const char* c = value; *c != '\0'; ++c) {
        if (*c < '0' || *c > '9' || parsed > 1'000'000'000'000) return false;
        parsed = parsed * 10 + (*c - '0');
    }
    seconds = parsed;
    return true;
}

bool modificationTime(const std::string& path, std::int64_t& seconds) {
    struct stat info;
    if (::stat(toOsPath(path).c_str(), &info) != 0) return false;
    seconds = static_cast<std::int64_t>(info.st_mtime);
    return true;
}

}  // namespace qv

#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace qv {

// Where one stored file lies: its section (0 uncompressed, 1 compressed), and
// its offset and length within that section's bytes.
struct DirectoryEntry {
    std::string name;
    unsigned section = 0;
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
};

// The order readers search the directory in: names compared without regard to
// ASCII case (as chmlib and the viewers compare them), then byte by byte.
bool directoryOrder(const std::string& a, const std::string& b);

// True when the two names are the same for a reader that ignores ASCII case.
bool sameDirectoryName(const std::string& a, const std::string& b);

// The directory header section: the ITSP header, then the listing chunks
// (PMGL), chained in order, then as many levels of index chunks (PMGI) as it
// takes to reach a single root. entries must be in directoryOrder.
std::string buildDirectory(const std::vector<DirectoryEntry>& entries, unsigned languageId);

}  // namespace qv

#include "chm/directory.h"

#include <algorithm>

#include "chm/encint.h"
#include "text/ascii.h"

namespace qv {

namespace {

constexpr std::size_t kChunkSize = 0x1000;
constexpr unsigned kQuickRefDensity = 2;
// One quick reference (an entry's offset) every kQuickRefEvery entries.
constexpr std::size_t kQuickRefEvery = 1 + (1u << kQuickRefDensity);
constexpr std::size_t kListingHeader = 0x14;
constexpr std::size_t kIndexHeader = 0x08;
constexpr std::uint32_t kNone = 0xFFFFFFFF;

int compareIgnoringCase(const std::string& a, const std::string& b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto x = static_cast<unsigned char>(lowerAscii(a[i]));
        const auto y = static_cast<unsigned char>(lowerAscii(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

// Bytes the end of a chunk holding n entries needs: the entry count and one
// offset for every kQuickRefEvery entries after the first.
std::size_t quickRefBytes(std::size_t n) { return 2 + 2 * (n == 0 ? 0 : (n - 1) / kQuickRefEvery); }

// Entries packed into chunks of kChunkSize: each chunk's entries area and the
// offsets of its entries within that area.
struct PackedChunk {
    std::string entries;
    std::vector<std::size_t> offsets;
    std::size_t firstEntry = 0;  // the index of its first entry in the whole list
};

std::vector<PackedChunk> pack(const std::vector<std::string>& encoded, std::size_t headerSize) {
    std::vector<PackedChunk> chunks;
    for (std::size_t i = 0; i < encoded.size(); ++i) {
        const std::string& entry = encoded[i];
        const bool fits =
            !chunks.empty() && headerSize + chunks.back().entries.size() + entry.size() +
                                       quickRefBytes(chunks.back().offsets.size() + 1) <=
                                   kChunkSize;
        if (!fits) {
            chunks.emplace_back();
            chunks.back().firstEntry = i;
        }
        chunks.back().offsets.push_back(chunks.back().entries.size());
        chunks.back().entries += entry;
    }
    return chunks;
}

// A whole chunk: header, entries, zeros, then the quick references written
// backwards from the end, the last two bytes counting the entries.
std::string finishChunk(std::string header, const PackedChunk& chunk) {
    std::string bytes = std::move(header);
    bytes += chunk.entries;
    bytes.resize(kChunkSize, '\0');
    const std::size_t n = chunk.offsets.size();
    std::size_t end = kChunkSize - 2;
    bytes[end] = static_cast<char>(n & 0xFF);
    bytes[end + 1] = static_cast<char>(n >> 8);
    for (std::size_t k = kQuickRefEvery; k < n; k += kQuickRefEvery) {
        end -= 2;
        bytes[end] = static_cast<char>(chunk.offsets[k] & 0xFF);
        bytes[end + 1] = static_cast<char>(chunk.offsets[k] >> 8);
    }
    return bytes;
}

std::string encodeName(const std::string& name) {
    std::string out;
    appendEncInt(out, name.size());
    out += name;
    return out;
}

std::string freeSpaceField(std::size_t headerSize, const PackedChunk& chunk) {
    std::string out;
    appendLittleEndian(out, kChunkSize - headerSize - chunk.entries.size(), 4);
    return out;
}

struct Chunks {
    std::vector<std::string> bytes;
    std::uint32_t lastListing = 0;
    std::uint32_t root = kNone;
    std::uint32_t depth = 1;
};

Chunks buildChunks(const std::vector<DirectoryEntry>& entries) {
    std::vector<std::string> encoded;
    for (const DirectoryEntry& entry : entries) {
        std::string out = encodeName(entry.name);
        appendEncInt(out, entry.section);
        appendEncInt(out, entry.offset);
        appendEncInt(out, entry.length);
        encoded.push_back(std::move(out));
    }
    Chunks result;
    const std::vector<PackedChunk> listing = pack(encoded, kListingHeader);
    for (std::size_t i = 0; i < listing.size(); ++i) {
        std::string header = "PMGL" + freeSpaceField(kListingHeader, listing[i]);
        appendLittleEndian(header, 0, 4);
        appendLittleEndian(header, i == 0 ? kNone : i - 1, 4);
        appendLittleEndian(header, i + 1 == listing.size() ? kNone : i + 1, 4);
        result.bytes.push_back(finishChunk(std::move(header), listing[i]));
    }
    result.lastListing = static_cast<std::uint32_t>(listing.size() - 1);
    // Each index level names the first entry of every chunk of the level below.
    std::vector<std::string> firstNames;
    for (const PackedChunk& chunk : listing) firstNames.push_back(entries[chunk.firstEntry].name);
    std::size_t levelStart = 0;
    while (firstNames.size() > 1) {
        std::vector<std::string> indexEntries;
        for (std::size_t i = 0; i < firstNames.size(); ++i) {
            indexEntries.push_back(encodeName(firstNames[i]));
            appendEncInt(indexEntries.back(), levelStart + i);
        }
        levelStart = result.bytes.size();
        const std::vector<PackedChunk> index = pack(indexEntries, kIndexHeader);
        std::vector<std::string> nextNames;
        for (const PackedChunk& chunk : index) {
            result.bytes.push_back(
                finishChunk("PMGI" + freeSpaceField(kIndexHeader, chunk), chunk));
            nextNames.push_back(firstNames[chunk.firstEntry]);
        }
        firstNames = std::move(nextNames);
        ++result.depth;
        result.root = static_cast<std::uint32_t>(result.bytes.size() - 1);
    }
    return result;
}

void appendGuid(std::string& out, std::uint32_t a, std::uint16_t b, std::uint16_t c,
                std::uint64_t d) {
    appendLittleEndian(out, a, 4);
    appendLittleEndian(out, b, 2);
    appendLittleEndian(out, c, 2);
    for (int i = 7; i >= 0; --i) out.push_back(static_cast<char>((d >> (8 * i)) & 0xFF));
}

}  // namespace

bool directoryOrder(const std::string& a, const std::string& b) {
    const int order = compareIgnoringCase(a, b);
    return order != 0 ? order < 0 : a < b;
}

bool sameDirectoryName(const std::string& a, const std::string& b) {
    return compareIgnoringCase(a, b) == 0;
}

std::string buildDirectory(const std::vector<DirectoryEntry>& entries, unsigned languageId) {
    const Chunks chunks = buildChunks(entries);
    std::string out = "ITSP";
    appendLittleEndian(out, 1, 4);     // version
    appendLittleEndian(out, 0x54, 4);  // header length
    appendLittleEndian(out, 0x0A, 4);
    appendLittleEndian(out, kChunkSize, 4);
    appendLittleEndian(out, kQuickRefDensity, 4);
    appendLittleEndian(out, chunks.depth, 4);
    appendLittleEndian(out, chunks.root, 4);
    appendLittleEndian(out, 0, 4);  // first listing chunk
    appendLittleEndian(out, chunks.lastListing, 4);
    appendLittleEndian(out, kNone, 4);
    appendLittleEndian(out, chunks.bytes.size(), 4);
    appendLittleEndian(out, languageId, 4);
    appendGuid(out, 0x5D02926A, 0x212E, 0x11D0, 0x9DF900A0C922E6ECull);
    appendLittleEndian(out, 0x54, 4);
    for (int i = 0; i < 3; ++i) appendLittleEndian(out, kNone, 4);
    for (const std::string& chunk : chunks.bytes) out += chunk;
    return out;
}

}  // namespace qv

// The B-tree of the binary index: 2048-byte blocks after a 76-byte header.
// A keyword's record: its full name in UTF-16LE with a terminating zero, a
// word 2 for a "see also" group (0 otherwise), a word for its depth, a double
// word for where its own name starts in the full name, a double word 0, the
// number of its topics, then either the topics' numbers or the "see also"
// text. A listing block's record ends with a double word 1 and the offset of
// the keyword's record in /Data; an index block's with the number of the
// block below it whose first keyword it repeats.

#include "chm/keyword_btree.h"

#include <algorithm>
#include <cstdint>

namespace qv {

namespace {

constexpr std::size_t kBlockSize = 2048;
constexpr std::size_t kListingHeaderSize = 12;  // free space, count, previous, next
constexpr std::size_t kIndexHeaderSize = 8;     // free space, count, first child
constexpr std::size_t kFixedFieldsSize = 16;    // see also, depth, last part, 0, count
constexpr std::size_t kListingTrailerSize = 8;  // 1, offset in /Data
constexpr std::size_t kDataRecordSize = 13;
// Names and "see also" texts are cut at this many UTF-16 units, so that
// any keyword with at least one topic fits an empty listing block.
constexpr std::size_t kMaxTextUnits = 500;
// An index block's record repeats a keyword with its texts cut shorter and
// its first topic alone, so that every index block holds at least two
// records and each level of the tree has fewer blocks than the one below.
constexpr std::size_t kMaxIndexTextUnits = 240;
constexpr std::uint32_t kNone = 0xFFFFFFFF;

void putU16(std::string& out, std::uint32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8 & 0xFF);
}

void putU32(std::string& out, std::uint32_t value) {
    putU16(out, value & 0xFFFF);
    putU16(out, value >> 16);
}

void putText(std::string& out, const std::u16string& text) {
    for (const char16_t unit : text) putU16(out, unit);
    putU16(out, 0);
}

std::size_t textSize(const std::u16string& text) { return 2 * (text.size() + 1); }

// Cut at maxUnits, never between the two halves of a surrogate pair.
void cutText(std::u16string& text, std::size_t maxUnits) {
    if (text.size() <= maxUnits) return;
    std::size_t length = maxUnits;
    if (text[length - 1] >= 0xD800 && text[length - 1] < 0xDC00) --length;
    text.resize(length);
}

// The keywords as they are written: texts cut to size, topics split so that
// each record fits an empty listing block.
std::vector<KeywordEntry> fitToBlocks(const std::vector<KeywordEntry>& entries) {
    std::vector<KeywordEntry> fitted;
    for (KeywordEntry entry : entries) {
        cutText(entry.name, kMaxTextUnits);
        cutText(entry.seeAlso, kMaxTextUnits);
        entry.lastPart = std::min<std::uint32_t>(entry.lastPart, entry.name.size());
        if (entry.isSeeAlso || entry.topics.empty()) {
            fitted.push_back(std::move(entry));
            continue;
        }
        const std::size_t room = kBlockSize - kListingHeaderSize - kFixedFieldsSize -
                                 kListingTrailerSize - textSize(entry.name);
        const std::size_t perRecord = room / 4;
        const std::vector<std::uint32_t> topics = std::move(entry.topics);
        for (std::size_t first = 0; first < topics.size(); first += perRecord) {
            const std::size_t last = std::min(topics.size(), first + perRecord);
            entry.topics.assign(topics.begin() + first, topics.begin() + last);
            fitted.push_back(entry);
        }
    }
    return fitted;
}

// A keyword's record up to its trailer: what listing and index blocks share.
std::string keyOf(const KeywordEntry& entry) {
    std::string key;
    putText(key, entry.name);
    putU16(key, entry.isSeeAlso ? 2 : 0);
    putU16(key, entry.depth);
    putU32(key, entry.lastPart);
    putU32(key, 0);
    if (entry.isSeeAlso) {
        putU32(key, 1);
        putText(key, entry.seeAlso);
    } else {
        putU32(key, static_cast<std::uint32_t>(entry.topics.size()));
        for (const std::uint32_t topic : entry.topics) putU32(key, topic);
    }
    return key;
}

std::string indexKeyOf(KeywordEntry entry) {
    cutText(entry.name, kMaxIndexTextUnits);
    cutText(entry.seeAlso, kMaxIndexTextUnits);
    entry.lastPart = std::min<std::uint32_t>(entry.lastPart, entry.name.size());
    if (entry.topics.size() > 1) entry.topics.resize(1);
    return keyOf(entry);
}

// One block being filled: its records after a header of headerSize bytes.
struct Block {
    Block(std::size_t headerSize, std::uint32_t number) : headerSize(headerSize), number(number) {}

    std::size_t headerSize;
    std::string records;
    std::uint32_t count = 0;
    std::string firstKey;  // what the index block above repeats
    std::uint32_t number;
    std::uint32_t firstEntry = 0;  // listing blocks: the number of their first keyword
    std::uint32_t firstChild = 0;  // index blocks

    bool fits(std::size_t size) const { return headerSize + records.size() + size <= kBlockSize; }
    std::uint32_t freeSpace() const {
        return static_cast<std::uint32_t>(kBlockSize - headerSize - records.size());
    }
};

std::vector<Block> listingBlocks(const std::vector<KeywordEntry>& entries) {
    std::vector<Block> blocks(1, Block(kListingHeaderSize, 0));
    for (std::uint32_t i = 0; i < entries.size(); ++i) {
        std::string record = keyOf(entries[i]);
        putU32(record, 1);
        putU32(record, static_cast<std::uint32_t>(i * kDataRecordSize));
        if (!blocks.back().fits(record.size())) {
            blocks.emplace_back(kListingHeaderSize, static_cast<std::uint32_t>(blocks.size()));
        }
        Block& block = blocks.back();
        if (block.count == 0) {
            block.firstKey = indexKeyOf(entries[i]);
            block.firstEntry = i;
        }
        block.records += record;
        ++block.count;
    }
    return blocks;
}

// One level of index blocks over children, numbered from firstNumber: a
// record for every child, with the child's first keyword.
std::vector<Block> indexLevel(const std::vector<Block>& children, std::uint32_t firstNumber) {
    std::vector<Block> level;
    for (const Block& child : children) {
        std::string record = child.firstKey;
        putU32(record, child.number);
        if (level.empty() || !level.back().fits(record.size())) {
            level.emplace_back(kIndexHeaderSize,
                               firstNumber + static_cast<std::uint32_t>(level.size()));
            level.back().firstKey = child.firstKey;
            level.back().firstChild = child.number;
        }
        level.back().records += record;
        ++level.back().count;
    }
    return level;
}

void putBlock(std::string& out, const Block& block, std::uint32_t previous, std::uint32_t next) {
    const std::size_t start = out.size();
    putU16(out, block.freeSpace());
    putU16(out, block.count);
    if (block.headerSize == kListingHeaderSize) {
        putU32(out, previous);
        putU32(out, next);
    } else {
        putU32(out, block.firstChild);
    }
    out += block.records;
    out.resize(start + kBlockSize, '\0');
}

struct TreeShape {
    std::uint32_t lastListingBlock;
    std::uint32_t rootBlock;
    std::uint32_t blockCount;
    std::uint32_t depth;  // 1: the listing blocks alone
    std::uint32_t keywordCount;
};

std::string header(const TreeShape& shape, unsigned languageId) {
    std::string out;
    putU16(out, 0x293B);
    putU16(out, 2);
    putU16(out, kBlockSize);
    std::string format = "X44";
    format.resize(16, '\0');
    out += format;
    putU32(out, 0);
    putU32(out, shape.lastListingBlock);
    putU32(out, shape.rootBlock);
    putU32(out, kNone);
    putU32(out, shape.blockCount);
    putU16(out, shape.depth);
    putU32(out, shape.keywordCount);
    // The keywords come from the .hhk, which is code page 1252.
    putU32(out, 1252);
    putU32(out, languageId);
    // Two values of unknown meaning, as the help compilers write them.
    putU32(out, 1);
    putU32(out, 10031);
    out.resize(0x4C, '\0');
    return out;
}

// Per keyword, 13 bytes of unknown meaning, the same for every keyword in
// the files the help compilers write.
std::string dataRecords(std::size_t count) {
    std::string record;
    putU32(record, 0);
    putU32(record, 5);
    putU32(record, 0x80);
    record += '\0';
    std::string out;
    for (std::size_t i = 0; i < count; ++i) out += record;
    return out;
}

std::string mapOf(const std::vector<Block>& listing) {
    std::string out;
    putU16(out, static_cast<std::uint32_t>(listing.size()));
    for (const Block& block : listing) {
        putU32(out, block.firstEntry);
        putU32(out, block.number);
    }
    return out;
}

}  // namespace

KeywordBTree layOutKeywords(const std::vector<KeywordEntry>& entries, unsigned languageId) {
    const std::vector<KeywordEntry> fitted = fitToBlocks(entries);
    const std::vector<Block> listing = listingBlocks(fitted);
    std::vector<std::vector<Block>> levels;
    const std::vector<Block>* below = &listing;
    auto blockCount = static_cast<std::uint32_t>(listing.size());
    while (below->size() > 1) {
        levels.push_back(indexLevel(*below, blockCount));
        blockCount += static_cast<std::uint32_t>(levels.back().size());
        below = &levels.back();
    }

    TreeShape shape;
    shape.lastListingBlock = static_cast<std::uint32_t>(listing.size() - 1);
    shape.rootBlock = below->front().number;
    shape.blockCount = blockCount;
    shape.depth = static_cast<std::uint32_t>(levels.size() + 1);
    shape.keywordCount = static_cast<std::uint32_t>(fitted.size());

    KeywordBTree tree;
    tree.btree = header(shape, languageId);
    for (std::size_t i = 0; i < listing.size(); ++i) {
        putBlock(tree.btree, listing[i], i == 0 ? kNone : static_cast<std::uint32_t>(i - 1),
                 i + 1 == listing.size() ? kNone : static_cast<std::uint32_t>(i + 1));
    }
    for (const auto& level : levels) {
        for (const Block& block : level) putBlock(tree.btree, block, kNone, kNone);
    }
    tree.data = dataRecords(fitted.size());
    tree.map = mapOf(listing);
    return tree;
}

}  // namespace qv

#pragma once
#include <string>
#include <vector>

#include "chm/keyword_entries.h"

namespace qv {

// The three files of the binary index that hold the keywords.
struct KeywordBTree {
    std::string btree;  // $WWKeywordLinks/BTree: header, listing blocks, index blocks
    std::string data;   // $WWKeywordLinks/Data: one record per keyword
    std::string map;    // $WWKeywordLinks/Map: the first keyword of each listing block
};

// Lays the keywords out in 2048-byte blocks, in their order: listing blocks
// (the leaves, chained), then the index blocks above them, level by level up
// to the root, when there is more than one listing block. A keyword too long
// for a block is cut short, and one with too many topics for a block becomes
// several keywords of the same name. languageId: the help's Windows language
// identifier, which the viewer compares keywords in.
KeywordBTree layOutKeywords(const std::vector<KeywordEntry>& entries, unsigned languageId);

}  // namespace qv

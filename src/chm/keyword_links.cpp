// The files of the binary keyword index.

#include "chm/keyword_links.h"

#include <cstdint>

#include "chm/keyword_btree.h"
#include "chm/keyword_entries.h"

namespace qv {

namespace {

std::string doubleWords(std::initializer_list<std::uint32_t> values) {
    std::string out;
    for (std::uint32_t value : values) {
        for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>(value >> shift & 0xFF);
    }
    return out;
}

// The properties of the keyword index, as the help compilers write them:
// four zero bytes when there is no keyword.
std::string keywordProperties(bool empty) {
    if (empty) return doubleWords({0});
    return doubleWords({0, 0, 0, 0x0C, 1, 1, 0, 0});
}

}  // namespace

std::vector<ChmFile> buildKeywordLinks(const HelpProject& project, TopicNumbers& topics) {
    const std::vector<KeywordEntry> entries = keywordEntries(project, topics);
    KeywordBTree tree = layOutKeywords(entries, project.languageId);
    return {
        {"/$WWKeywordLinks/BTree", std::move(tree.btree)},
        {"/$WWKeywordLinks/Data", std::move(tree.data)},
        {"/$WWKeywordLinks/Map", std::move(tree.map)},
        {"/$WWKeywordLinks/Property", keywordProperties(entries.empty())},
        // No associative links: the viewer only needs to find the file.
        {"/$WWAssociativeLinks/Property", doubleWords({0})},
    };
}

}  // namespace qv

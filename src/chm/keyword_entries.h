#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "chm/topic_numbers.h"
#include "model/help_project.h"

namespace qv {

// One keyword of the binary index, as the viewer lists it.
struct KeywordEntry {
    // The full name: the names of the keywords above it and its own, joined
    // by ", " ("Group, Keyword"), in UTF-16.
    std::u16string name;
    std::uint32_t lastPart = 0;  // where its own name starts in name
    std::uint16_t depth = 0;     // 0 for a keyword at the top level
    // A group: no page of its own; the viewer shows seeAlso, the keyword to
    // look at instead (the group itself, as the .hhk names it).
    bool isSeeAlso = false;
    std::u16string seeAlso;
    std::vector<std::uint32_t> topics;  // numbers in #TOPICS, each once
};

// The keywords below root in tree order, as a reader of the .hhk sees them:
// a node without a title gives no entry and its children count as one level
// deeper than it (under the keyword written before it); the depth of a
// keyword never exceeds that of the keyword before it plus one. Siblings
// with the same name and a page each, one after the other, make one keyword
// with several topics.
std::vector<KeywordEntry> keywordEntries(const HelpProject& project, TopicNumbers& topics);

// The UTF-16 text of a title: its UTF-8 form from utf8Titles when it lost
// characters to code page 1252, otherwise its code page 1252 bytes.
std::u16string titleUtf16(const TopicNode& node, const Utf8Titles& utf8Titles);

}  // namespace qv

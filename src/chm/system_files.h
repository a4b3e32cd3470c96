#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "chm/chm_file.h"
#include "chm/topic_table.h"

namespace qv {

// What the viewer reads before anything else: the #SYSTEM fields.
struct SystemSettings {
    std::string contentsFile;  // "aide.hhc"
    std::string indexFile;     // "aide.hhk"
    std::string defaultTopic;  // relative to the project file
    std::string title;         // code page 1252
    std::string compiledBase;  // the .chm's name without folder and extension
    unsigned languageId = 0x409;
    std::uint64_t fileTime = 0;  // 100 ns units since 1601, as Windows counts
    std::string indexHeader;     // #IDXHDR, of which #SYSTEM holds a copy
};

// #SYSTEM: the help's title, default topic, contents and index files,
// language, and the flags that turn full-text search and the binary index on.
std::string buildSystemFile(const SystemSettings& settings);

// #TOPICS, #URLTBL, #URLSTR and #STRINGS: one entry per topic, with its URL
// and title; and #IDXHDR, the index header. With contexts, #IVB too: each
// context's number and the offset in #STRINGS of its topic.
std::vector<ChmFile> buildTopicFiles(const std::vector<TopicTable::Topic>& topics,
                                     const std::vector<ContextTopic>& contexts = {});

// Windows' file time for seconds since 1970.
std::uint64_t fileTimeFromUnix(std::int64_t seconds);

}  // namespace qv

#include "chm/system_files.h"

#include <unordered_map>

#include "chm/encint.h"

namespace qv {

namespace {

enum SystemCode : unsigned {
    kContentsFile = 0,
    kIndexFile = 1,
    kDefaultTopic = 2,
    kTitle = 3,
    kLanguageAndFlags = 4,
    kCompiledFile = 6,
    kCompilerVersion = 9,
    kTimestamp = 10,
    kIndexHeader = 13,
};

void appendEntry(std::string& out, unsigned code, const std::string& data) {
    appendLittleEndian(out, code, 2);
    appendLittleEndian(out, data.size(), 2);
    out += data;
}

// Strings end with a zero byte.
void appendString(std::string& out, unsigned code, const std::string& text) {
    appendEntry(out, code, text + '\0');
}

// Each #URLTBL block holds this many 12-byte entries, then 4 bytes of padding.
constexpr std::size_t kUrlEntriesPerBlock = 341;
constexpr std::uint32_t kNoString = 0xFFFFFFFF;

// Viewers read #STRINGS a 4096-byte block at a time: a context's topic
// starts in the next block when it would run past the end of this one.
constexpr std::size_t kStringsBlock = 4096;

// #IVB: the length of what follows, then each context's number and the
// offset of its topic in strings, where each topic is added once.
std::string contextFile(const std::vector<ContextTopic>& contexts, std::string& strings) {
    std::string out;
    appendLittleEndian(out, 8 * contexts.size(), 4);
    std::unordered_map<std::string, std::size_t> offsets;
    for (const ContextTopic& context : contexts) {
        auto [found, added] = offsets.try_emplace(context.local, strings.size());
        if (added) {
            const std::size_t room = kStringsBlock - strings.size() % kStringsBlock;
            if (context.local.size() + 1 > room && context.local.size() < kStringsBlock) {
                strings.append(room, '\0');
            }
            found->second = strings.size();
            strings += context.local + '\0';
        }
        appendLittleEndian(out, context.number, 4);
        appendLittleEndian(out, found->second, 4);
    }
    return out;
}

}  // namespace

std::uint64_t fileTimeFromUnix(std::int64_t seconds) {
    constexpr std::int64_t kFrom1601To1970 = 11644473600;
    const std::int64_t since1601 = seconds + kFrom1601To1970;
    return since1601 < 0 ? 0 : static_cast<std::uint64_t>(since1601) * 10000000u;
}

std::string buildSystemFile(const SystemSettings& settings) {
    std::string out;
    appendLittleEndian(out, 3, 4);  // version
    appendString(out, kContentsFile, settings.contentsFile);
    appendString(out, kIndexFile, settings.indexFile);
    appendString(out, kDefaultTopic, settings.defaultTopic);
    appendString(out, kTitle, settings.title);
    std::string flags;
    appendLittleEndian(flags, settings.languageId, 4);
    appendLittleEndian(flags, 0, 4);  // not a double-byte code page
    appendLittleEndian(flags, 1, 4);  // full-text search
    appendLittleEndian(flags, 1, 4);  // keyword links (binary index)
    appendLittleEndian(flags, 0, 4);  // associative links
    appendLittleEndian(flags, settings.fileTime, 8);
    appendLittleEndian(flags, 0, 8);
    appendEntry(out, kLanguageAndFlags, flags);
    appendString(out, kCompiledFile, settings.compiledBase);
    appendString(out, kCompilerVersion, "HHA Version 4.74.8702");
    std::string stamp;
    appendLittleEndian(stamp, settings.fileTime / 10000000u, 4);
    appendEntry(out, kTimestamp, stamp);
    if (!settings.indexHeader.empty()) appendEntry(out, kIndexHeader, settings.indexHeader);
    return out;
}

std::vector<ChmFile> buildTopicFiles(const std::vector<TopicTable::Topic>& topics,
                                     const std::vector<ContextTopic>& contexts) {
    std::string topicFile, urlTable, urlStrings(1, '\0'), strings(1, '\0');
    for (std::size_t i = 0; i < topics.size(); ++i) {
        const TopicTable::Topic& topic = topics[i];
        if (i > 0 && i % kUrlEntriesPerBlock == 0) urlTable.append(4, '\0');
        const std::size_t urlEntry = urlTable.size();
        appendLittleEndian(urlTable, i, 4);  // the entry's key
        appendLittleEndian(urlTable, i, 4);  // its topic
        appendLittleEndian(urlTable, urlStrings.size(), 4);
        appendLittleEndian(urlStrings, urlEntry, 4);
        appendLittleEndian(urlStrings, 0, 4);  // no frame name
        urlStrings += topic.local + '\0';
        std::uint32_t title = kNoString;
        if (!topic.title.empty()) {
            title = static_cast<std::uint32_t>(strings.size());
            strings += topic.title + '\0';
        }
        appendLittleEndian(topicFile, 0, 4);  // no binary contents entry
        appendLittleEndian(topicFile, title, 4);
        appendLittleEndian(topicFile, urlEntry, 4);
        appendLittleEndian(topicFile, topic.inContents ? 6 : 2, 2);
        appendLittleEndian(topicFile, 0, 2);
    }
    std::string indexHeader = "T#SM";
    appendLittleEndian(indexHeader, 1, 4);
    appendLittleEndian(indexHeader, 1, 4);
    appendLittleEndian(indexHeader, topics.size(), 4);
    indexHeader.resize(4096, '\0');
    // Without contexts there is no #IVB, and #STRINGS holds the titles alone.
    const std::string contextIds = contexts.empty() ? "" : contextFile(contexts, strings);
    std::vector<ChmFile> files = {{"/#TOPICS", topicFile, true},
                                  {"/#URLTBL", urlTable, true},
                                  {"/#URLSTR", urlStrings, true},
                                  {"/#STRINGS", strings, true},
                                  {"/#IDXHDR", indexHeader, true}};
    if (!contexts.empty()) files.push_back({"/#IVB", contextIds, true});
    return files;
}

}  // namespace qv

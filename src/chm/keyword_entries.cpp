// The keywords of the binary index, from the sorted index tree.

#include "chm/keyword_entries.h"

#include <algorithm>
#include <string_view>

#include "output/sitemap.h"
#include "text/cp1252.h"

namespace qv {

namespace {

void appendUtf16(std::u16string& out, std::uint32_t codePoint) {
    if (codePoint < 0x10000) {
        out += static_cast<char16_t>(codePoint);
        return;
    }
    codePoint -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (codePoint >> 10));
    out += static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF));
}

// The titles' UTF-8 form is well-formed (utf8AsShown made it so); a byte
// that does not start a complete sequence still gives U+FFFD rather than
// reading past the end.
std::u16string utf16FromUtf8(std::string_view text) {
    std::u16string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        if (length > text.size() - i || (lead >= 0x80 && lead < 0xC0) || lead >= 0xF8) {
            out += u'\uFFFD';
            ++i;
            continue;
        }
        std::uint32_t codePoint = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            codePoint = codePoint << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        appendUtf16(out, std::min<std::uint32_t>(codePoint, 0x10FFFF));
        i += length;
    }
    return out;
}

class EntryCollector {
public:
    EntryCollector(const HelpProject& project, TopicNumbers& topics)
        : project_(project), topics_(topics) {}

    void collect(const TopicNode& node, std::size_t depth) {
        if (!node.title.empty()) add(node, depth);
        for (const auto& child : node.children) collect(*child, depth + 1);
    }

    std::vector<KeywordEntry> entries;

private:
    void add(const TopicNode& node, std::size_t depth) {
        // A reader of the .hhk hangs a keyword under the one written before
        // it, however many untitled levels lie between them.
        depth = std::min(depth, path_.size());
        path_.resize(depth);
        KeywordEntry entry;
        for (const auto& part : path_) entry.name += part + u", ";
        entry.lastPart = static_cast<std::uint32_t>(entry.name.size());
        path_.push_back(titleUtf16(node, project_.utf8Titles));
        entry.name += path_.back();
        entry.depth = static_cast<std::uint16_t>(depth);
        if (node.file.empty()) {
            entry.isSeeAlso = true;
            entry.seeAlso = path_.back();
            entries.push_back(std::move(entry));
            return;
        }
        const std::uint32_t topic =
            topics_.topicOf(sitemapLocal(node, project_.listDirectoryUrl), node.title);
        if (!entries.empty() && !entries.back().isSeeAlso && entries.back().depth == depth &&
            entries.back().name == entry.name) {
            auto& known = entries.back().topics;
            if (std::find(known.begin(), known.end(), topic) == known.end()) known.push_back(topic);
            return;
        }
        entry.topics.push_back(topic);
        entries.push_back(std::move(entry));
    }

    const HelpProject& project_;
    TopicNumbers& topics_;
    std::vector<std::u16string> path_;  // the own name of the last keyword at each depth
};

}  // namespace

std::u16string titleUtf16(const TopicNode& node, const Utf8Titles& utf8Titles) {
    const auto found = utf8Titles.find(&node);
    if (found != utf8Titles.end()) return utf16FromUtf8(found->second);
    std::u16string out;
    for (const char byte : node.title) {
        appendUtf16(out, codePointFromCp1252(static_cast<unsigned char>(byte)));
    }
    return out;
}

std::vector<KeywordEntry> keywordEntries(const HelpProject& project, TopicNumbers& topics) {
    EntryCollector collector(project, topics);
    for (const auto& child : project.indexRoot.children) collector.collect(*child, 0);
    return std::move(collector.entries);
}

}  // namespace qv

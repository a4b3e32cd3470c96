#include "chm/collect_files.h"

#include <cctype>
#include <deque>
#include <unordered_map>
#include <unordered_set>

#include "chm/container.h"
#include "text/links.h"

namespace qv {

namespace {

bool startsWithIgnoringCase(const std::string& text, std::size_t at, const char* word) {
    for (std::size_t i = 0; word[i] != '\0'; ++i) {
        if (at + i >= text.size() ||
            std::tolower(static_cast<unsigned char>(text[at + i])) != word[i]) {
            return false;
        }
    }
    return true;
}

std::size_t skipBlanks(const std::string& text, std::size_t at) {
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) ++at;
    return at;
}

// A value at `at`: quoted with ' or ", or up to a blank or one of stops.
std::string valueAt(const std::string& text, std::size_t at, const char* stops) {
    if (at < text.size() && (text[at] == '"' || text[at] == '\'')) {
        const std::size_t end = text.find(text[at], at + 1);
        if (end == std::string::npos) return {};
        return text.substr(at + 1, end - at - 1);
    }
    std::size_t end = at;
    while (end < text.size() && !std::isspace(static_cast<unsigned char>(text[end])) &&
           std::string_view(stops).find(text[end]) == std::string_view::npos) {
        ++end;
    }
    return text.substr(at, end - at);
}

std::string decodeAmpersands(std::string value) {
    for (std::size_t at = value.find("&amp;"); at != std::string::npos;
         at = value.find("&amp;", at + 1)) {
        value.erase(at + 1, 4);
    }
    return value;
}

// An attribute name starts after a blank: "data-src" or "xhref" are not ours.
bool attributeAt(const std::string& text, std::size_t at, const char* name, std::size_t& value) {
    if (at == 0 || !std::isspace(static_cast<unsigned char>(text[at - 1]))) return false;
    if (!startsWithIgnoringCase(text, at, name)) return false;
    std::size_t next = skipBlanks(text, at + std::char_traits<char>::length(name));
    if (next >= text.size() || text[next] != '=') return false;
    value = skipBlanks(text, next + 1);
    return true;
}

enum class FileKind { Page, StyleSheet, Other };

FileKind kindOf(const std::string& name) {
    const std::size_t dot = name.find_last_of('.');
    if (dot == std::string::npos) return FileKind::Other;
    std::string extension = name.substr(dot + 1);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension == "css") return FileKind::StyleSheet;
    return extension == "html" || extension == "htm" ? FileKind::Page : FileKind::Other;
}

std::string lowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

}  // namespace

namespace {

// The url() values of a style sheet or a style element's text.
void cssReferences(const std::string& text, std::size_t from, std::size_t to,
                   std::vector<std::string>& found) {
    for (std::size_t at = from; at < to; ++at) {
        if (text.compare(at, 2, "/*") == 0) {
            at = std::min(to, text.find("*/", at + 2));
            if (at == std::string::npos || at == to) return;
            ++at;
        } else if (startsWithIgnoringCase(text, at, "url(")) {
            found.push_back(valueAt(text, skipBlanks(text, at + 4), ")"));
        }
    }
}

// The end of the tag that starts at `at` ('<'): its '>' outside quotes.
std::size_t tagEnd(const std::string& text, std::size_t at) {
    char quote = 0;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (quote != 0) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return at;
        }
    }
    return text.size();
}

// The href and src values of the tag text[from, to).
void tagReferences(const std::string& text, std::size_t from, std::size_t to,
                   std::vector<std::string>& found) {
    char quote = 0;
    for (std::size_t at = from; at < to; ++at) {
        const char c = text[at];
        std::size_t value = 0;
        if (quote != 0) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (attributeAt(text, at, "href", value) || attributeAt(text, at, "src", value)) {
            found.push_back(decodeAmpersands(valueAt(text, value, ">")));
        }
    }
}

// The element's raw text ends at its end tag ("</script", "</style").
std::size_t rawTextEnd(const std::string& text, std::size_t from, const char* endTag) {
    for (std::size_t at = text.find("</", from); at != std::string::npos;
         at = text.find("</", at + 2)) {
        if (startsWithIgnoringCase(text, at, endTag)) return at;
    }
    return text.size();
}

}  // namespace

std::vector<std::string> referencesIn(const std::string& text, bool styleSheet) {
    std::vector<std::string> found;
    if (styleSheet) {
        cssReferences(text, 0, text.size(), found);
        return found;
    }
    for (std::size_t at = text.find('<'); at != std::string::npos; at = text.find('<', at + 1)) {
        if (text.compare(at, 4, "<!--") == 0) {
            at = text.find("-->", at + 4);
            if (at == std::string::npos) break;
            continue;
        }
        const std::size_t end = tagEnd(text, at);
        tagReferences(text, at + 1, end, found);
        if (end >= text.size()) break;
        if (startsWithIgnoringCase(text, at, "<script")) {
            at = rawTextEnd(text, end, "</script");
        } else if (startsWithIgnoringCase(text, at, "<style")) {
            const std::size_t close = rawTextEnd(text, end, "</style");
            cssReferences(text, end + 1, close, found);
            at = close;
        } else {
            at = end;
        }
        if (at >= text.size()) break;
    }
    return found;
}

CollectedFiles collectFiles(const HelpProject& project, const FileReader& reader) {
    CollectedFiles result;
    // Every file met, by its name as a reader compares it, with its name.
    std::unordered_map<std::string, std::string> seen;
    std::unordered_set<std::string> clashes;
    // The pages and style sheets taken in and not yet scanned: their name and
    // their place in result.files, whose bytes are scanned where they lie.
    std::deque<std::pair<std::string, std::size_t>> toScan;
    auto take = [&](const std::string& file, const std::string& referencedBy) {
        const auto [known, added] = seen.try_emplace(lowerAscii(file), file);
        if (!added) {
            // Another spelling of a file already in: reported once.
            if (known->second != file && clashes.insert(file).second) {
                result.problems.push_back({CollectionProblem::BadName, file, referencedBy});
            }
            return;
        }
        std::string bytes;
        // At the root, names starting "#", "$" or ":" belong to the format's own files.
        const std::string name = project.listDirectoryUrl + file;
        if (name.size() + 1 > kMaxChmNameBytes || name.find_first_of("#$:") == 0) {
            result.problems.push_back({CollectionProblem::BadName, file, referencedBy});
        } else if (reader.read(project.listDirectory + file, bytes) != 0) {
            result.problems.push_back({CollectionProblem::Missing, file, referencedBy});
        } else {
            if (kindOf(file) != FileKind::Other) toScan.emplace_back(file, result.files.size());
            result.files.push_back({"/" + name, std::move(bytes), true});
        }
    };
    std::unordered_map<std::string, bool> outside;
    const auto isOutside = [](const std::string& file) {
        return file == ".." || file.compare(0, 3, "../") == 0;
    };
    for (const std::string& page : project.pages) {
        const std::string file = helpSetPath(page);
        if (!isOutside(file)) {
            take(file, {});
        } else if (outside.emplace(file, true).second) {
            result.problems.push_back({CollectionProblem::Outside, file, {}});
        }
    }
    while (!toScan.empty()) {
        const auto [name, index] = std::move(toScan.front());
        toScan.pop_front();
        const bool styleSheet = kindOf(name) == FileKind::StyleSheet;
        for (const std::string& value : referencesIn(result.files[index].content, styleSheet)) {
            const LinkTarget target = followLink(name, value);
            if (!target.local || target.file.empty()) continue;
            if (isOutside(target.file)) {
                if (outside.emplace(target.file, true).second) {
                    result.problems.push_back({CollectionProblem::Outside, target.file, name});
                }
                continue;
            }
            take(target.file, name);
        }
    }
    return result;
}

}  // namespace qv

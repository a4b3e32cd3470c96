// The context map of a template page, as a JavaScript object literal.

#include "output/context_literal.h"

#include <string>
#include <unordered_set>

#include "text/encoders.h"

namespace qv {

void writeContextLiteral(const ContextMap& contexts, std::string_view indent, TextStream& out) {
    if (contexts.marks.empty()) {
        out << "{}";
        return;
    }
    const std::string_view blanks = indent.substr(0, indent.find_first_not_of(" \t"));
    const std::string pairIndent =
        std::string(blanks) + (!blanks.empty() && blanks[0] == '\t' ? "\t" : "  ");
    std::unordered_set<std::string> written;
    std::string text = "{";
    const auto writePair = [&](const std::string& key, const std::string& link) {
        if (!written.insert(key).second) return;
        text += written.size() == 1 ? "\n" : ",\n";
        text += pairIndent;
        appendScriptString(text, key);
        text += ": ";
        appendScriptString(text, link);
    };
    for (const ContextMark& mark : contexts.marks) {
        const std::string link = mark.anchor.empty() ? mark.file : mark.file + "#" + mark.anchor;
        writePair(mark.name, link);
        if (const std::uint32_t* number = contexts.numberOf(mark.name)) {
            writePair(std::to_string(*number), link);
        }
    }
    out << text << "\n" << blanks << "}";
}

}  // namespace qv

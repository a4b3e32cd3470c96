#include "text/encoders.h"

#include <algorithm>
#include <array>

#include "text/cp1252.h"
#include "text/entities.h"

namespace qv {

namespace {

// For each byte, what the encoder writes for it; empty for bytes copied as
// they are. Built once from the tables, first row of a code winning.
using PieceTable = std::array<std::string, 256>;

std::string reference(const char* name) { return std::string("&") + name + ";"; }

std::string hexReference(unsigned char code) {
    static const char kDigits[] = "0123456789ABCDEF";
    return {'&', '#', 'x', kDigits[code >> 4], kDigits[code & 0xF], ';'};
}

const Entity* firstRowOf(const Entity* table, std::size_t count, unsigned char code) {
    for (std::size_t i = 0; i < count; ++i) {
        if (table[i].code == code) return &table[i];
    }
    return nullptr;
}

const PieceTable& sitemapPieces() {
    static const PieceTable pieces = [] {
        PieceTable table;
        for (int code = 0; code < 256; ++code) {
            auto byte = static_cast<unsigned char>(code);
            bool markup = byte == '"' || byte == '&' || byte == '<' || byte == '>';
            if (!markup && byte < 0x80) continue;
            const Entity* row = firstRowOf(characterEntities, characterEntityCount, byte);
            table[code] = row != nullptr ? reference(row->name) : hexReference(byte);
        }
        return table;
    }();
    return pieces;
}

const PieceTable& htmlPieces() {
    static const PieceTable pieces = [] {
        PieceTable table;
        for (int code = 0; code < 256; ++code) {
            auto byte = static_cast<unsigned char>(code);
            const Entity* row = firstRowOf(markupEntities, markupEntityCount, byte);
            if (row != nullptr) {
                table[code] = reference(row->name);
            } else if (byte >= 0x80) {
                appendUtf8(table[code], codePointFromCp1252(byte));
            }
        }
        return table;
    }();
    return pieces;
}

// Only the markup characters, by name: what an attribute value needs.
const PieceTable& anchorPieces() {
    static const PieceTable pieces = [] {
        PieceTable table;
        table['"'] = "&quot;";
        table['&'] = "&amp;";
        table['<'] = "&lt;";
        table['>'] = "&gt;";
        return table;
    }();
    return pieces;
}

// JSON's escapes, made safe inside an HTML script element: the quote, the
// backslash and the control characters escaped, and "<" as \u003c so that
// the string can hold neither "</script>" nor "<!--".
const PieceTable& scriptPieces() {
    static const PieceTable pieces = [] {
        static const char kDigits[] = "0123456789abcdef";
        PieceTable table;
        for (int code = 0; code < 0x20; ++code) {
            table[code] = {'\\', 'u', '0', '0', kDigits[code >> 4], kDigits[code & 0xF]};
        }
        table['\b'] = "\\b";
        table['\f'] = "\\f";
        table['\n'] = "\\n";
        table['\r'] = "\\r";
        table['\t'] = "\\t";
        table['"'] = "\\\"";
        table['\\'] = "\\\\";
        table['<'] = "\\u003c";
        return table;
    }();
    return pieces;
}

// The escape of U+2028 or U+2029 when utf8 holds one at i: JSON allows them
// in strings, but script engines before ES2019 take them for line ends.
std::string_view lineSeparatorAt(std::string_view utf8, std::size_t i) {
    if (utf8.compare(i, 2, "\xE2\x80") != 0 || i + 2 >= utf8.size()) return {};
    if (utf8[i + 2] == '\xA8') return "\\u2028";
    if (utf8[i + 2] == '\xA9') return "\\u2029";
    return {};
}

void appendEncoded(std::string& out, std::string_view text, const PieceTable& pieces) {
    std::size_t runStart = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::string& piece = pieces[static_cast<unsigned char>(text[i])];
        if (piece.empty()) continue;
        out.append(text.data() + runStart, i - runStart);
        out.append(piece);
        runStart = i + 1;
    }
    out.append(text.data() + runStart, text.size() - runStart);
}

}  // namespace

void appendEntities(std::string& out, std::string_view text) {
    appendEncoded(out, text, sitemapPieces());
}

void appendUtf8Html(std::string& out, std::string_view text) {
    appendEncoded(out, text, htmlPieces());
}

void appendAnchorHtml(std::string& out, std::string_view utf8) {
    appendEncoded(out, utf8, anchorPieces());
}

void appendAnchorCp1252(std::string& out, std::string_view utf8) {
    // Most anchors are ASCII: they need no conversion.
    const bool ascii = std::all_of(utf8.begin(), utf8.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii) return appendEncoded(out, utf8, anchorPieces());
    appendEncoded(out, utf8ToCp1252(utf8), anchorPieces());
}

void appendHtml(std::string& out, std::string_view utf8) {
    const PieceTable& pieces = htmlPieces();
    std::size_t runStart = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        auto byte = static_cast<unsigned char>(utf8[i]);
        std::size_t length = 1;
        if (byte == 0xC2 && i + 1 < utf8.size() &&
            static_cast<unsigned char>(utf8[i + 1]) == 0xA0) {
            byte = 0xA0;  // the no-break space
            length = 2;
        } else if (byte >= 0x80 || pieces[byte].empty()) {
            continue;
        }
        out.append(utf8.data() + runStart, i - runStart);
        out.append(pieces[byte]);
        runStart = i + length;
        i = runStart - 1;
    }
    out.append(utf8.data() + runStart, utf8.size() - runStart);
}

void appendScriptString(std::string& out, std::string_view utf8) {
    const PieceTable& pieces = scriptPieces();
    out.push_back('"');
    std::size_t runStart = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        std::string_view piece = pieces[static_cast<unsigned char>(utf8[i])];
        std::size_t length = 1;
        if (piece.empty()) {
            piece = lineSeparatorAt(utf8, i);
            if (piece.empty()) continue;
            length = 3;
        }
        out.append(utf8.data() + runStart, i - runStart);
        out.append(piece);
        runStart = i + length;
        i = runStart - 1;
    }
    out.append(utf8.data() + runStart, utf8.size() - runStart);
    out.push_back('"');
}

}  // namespace qv

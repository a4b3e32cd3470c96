#include "page/encoding.h"

#include <array>
#include <cstdint>

#include "page/entities.h"
#include "platform/cp1252.h"

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
                table[code] = {static_cast<char>(0xC0 | (byte >> 6)),
                               static_cast<char>(0x80 | (byte & 0x3F))};
            }
        }
        return table;
    }();
    return pieces;
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

// Length of the well-formed UTF-8 sequence at the start of bytes and its
// code point, or 0 when the sequence is malformed or truncated.
std::size_t decodeSequence(const unsigned char* bytes, std::size_t available,
                           std::uint32_t& codePoint) {
    unsigned char lead = bytes[0];
    std::size_t length;
    std::uint32_t low;   // smallest code point of this length (no overlong forms)
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, codePoint = lead & 0x1F, low = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, codePoint = lead & 0x0F, low = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, codePoint = lead & 0x07, low = 0x10000;
    } else {
        return 0;
    }
    if (available < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((bytes[i] & 0xC0) != 0x80) return 0;
        codePoint = (codePoint << 6) | (bytes[i] & 0x3F);
    }
    bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    if (codePoint < low || codePoint > 0x10FFFF || surrogate) return 0;
    return length;
}

}  // namespace

void appendEntities(std::string& out, std::string_view text) {
    appendEncoded(out, text, sitemapPieces());
}

std::string encodeEntities(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 16);
    appendEntities(out, text);
    return out;
}

void appendUtf8Html(std::string& out, std::string_view text) {
    appendEncoded(out, text, htmlPieces());
}

std::string encodeUtf8Html(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 16);
    appendUtf8Html(out, text);
    return out;
}

std::string utf8ToAnsi(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    const auto* bytes = reinterpret_cast<const unsigned char*>(value.data());
    std::size_t i = 0;
    while (i < value.size()) {
        if (bytes[i] < 0x80) {
            // ASCII runs are the common case: copy them straight.
            std::size_t start = i;
            while (i < value.size() && bytes[i] < 0x80) ++i;
            out.append(value.data() + start, i - start);
            continue;
        }
        std::uint32_t codePoint = 0;
        std::size_t length = decodeSequence(bytes + i, value.size() - i, codePoint);
        if (length == 0) {
            out.push_back('?');
            ++i;
            continue;
        }
        int byte = cp1252FromCodePoint(codePoint);
        out.push_back(byte < 0 ? '?' : static_cast<char>(byte));
        i += length;
    }
    return out;
}

}  // namespace qv

#include "text/input_encoding.h"

#include <cstdint>
#include <cstring>

#include "platform/charset.h"
#include "text/cp1252.h"

namespace qv {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::size_t kDeclarationWindow = 1024;
constexpr std::uint32_t kReplacement = 0xFFFD;

bool inRange(unsigned char byte, unsigned char low, unsigned char high) {
    return byte >= low && byte <= high;
}

// Length of the well-formed UTF-8 sequence that starts with the non-ASCII
// byte at p, or 0. The second byte's range is what rules out overlong
// forms (E0, F0), surrogates (ED) and code points above U+10FFFF (F4).
std::size_t sequenceLength(const unsigned char* p, const unsigned char* end) {
    const unsigned char lead = p[0];
    const auto available = static_cast<std::size_t>(end - p);
    if (lead < 0xC2 || lead > 0xF4) return 0;
    if (lead < 0xE0) return available >= 2 && inRange(p[1], 0x80, 0xBF) ? 2 : 0;
    if (lead < 0xF0) {
        const unsigned char low = lead == 0xE0 ? 0xA0 : 0x80;
        const unsigned char high = lead == 0xED ? 0x9F : 0xBF;
        return available >= 3 && inRange(p[1], low, high) && inRange(p[2], 0x80, 0xBF) ? 3 : 0;
    }
    const unsigned char low = lead == 0xF0 ? 0x90 : 0x80;
    const unsigned char high = lead == 0xF4 ? 0x8F : 0xBF;
    return available >= 4 && inRange(p[1], low, high) && inRange(p[2], 0x80, 0xBF) &&
                   inRange(p[3], 0x80, 0xBF)
               ? 4
               : 0;
}

// UTF-16 code units (the BOM already taken off) as UTF-8 after a UTF-8 BOM.
std::string utf16ToUtf8(std::string_view units, bool bigEndian) {
    const auto* p = reinterpret_cast<const unsigned char*>(units.data());
    const std::size_t size = units.size();
    auto unitAt = [&](std::size_t i) -> std::uint32_t {
        return bigEndian ? (p[i] << 8) | p[i + 1] : p[i] | (p[i + 1] << 8);
    };
    std::string out(kUtf8Bom);
    out.reserve(kUtf8Bom.size() + size / 2 * 3 + 3);
    std::size_t i = 0;
    for (; i + 1 < size; i += 2) {
        std::uint32_t cp = unitAt(i);
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 3 < size) {
            const std::uint32_t low = unitAt(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        if (cp >= 0xD800 && cp <= 0xDFFF) cp = kReplacement;
        appendUtf8(out, cp);
    }
    if (i < size) appendUtf8(out, kReplacement);  // half a code unit at the end
    return out;
}

// The text from its first invalid byte (at start) on: valid runs copied,
// every other byte as its windows-1252 character.
std::string cp1252Fallback(std::string_view text, std::size_t start) {
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    out.append(text.data(), start);
    for (std::size_t pos = start; pos < text.size();) {
        const std::size_t run = validUtf8Prefix(text.substr(pos));
        out.append(text.data() + pos, run);
        pos += run;
        if (pos == text.size()) break;
        appendUtf8(out, codePointFromCp1252(static_cast<unsigned char>(text[pos])));
        ++pos;
    }
    return out;
}

// ---- Declarations --------------------------------------------------------

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; }

// Whether text at pos starts with word (lower case), in any case.
bool hasWordAt(std::string_view text, std::size_t pos, std::string_view word) {
    if (pos > text.size() || text.size() - pos < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (lower(text[pos + i]) != word[i]) return false;
    }
    return true;
}

bool equalsNoCase(std::string_view text, std::string_view word) {
    return text.size() == word.size() && hasWordAt(text, 0, word);
}

std::size_t skipSpace(std::string_view text, std::size_t pos) {
    while (pos < text.size() && isSpace(text[pos])) ++pos;
    return pos;
}

std::string_view trimSpace(std::string_view text) {
    std::size_t begin = skipSpace(text, 0);
    std::size_t end = text.size();
    while (end > begin && isSpace(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

struct Attribute {
    std::string_view name;
    std::string_view value;
};

// Reads the attribute at pos inside a tag as HTML does: values quoted with
// ' or ", or unquoted up to white space or ">". Returns false at the ">"
// that ends the tag, at the end of text, or in a quoted value that does not
// close; pos is then left at the ">" or the end.
bool nextAttribute(std::string_view text, std::size_t& pos, Attribute& attribute) {
    while (pos < text.size() && (isSpace(text[pos]) || text[pos] == '/')) ++pos;
    if (pos >= text.size() || text[pos] == '>') return false;
    const std::size_t nameStart = pos++;  // a first "=" belongs to the name
    while (pos < text.size() && !isSpace(text[pos]) && text[pos] != '=' && text[pos] != '>' &&
           text[pos] != '/') {
        ++pos;
    }
    attribute.name = text.substr(nameStart, pos - nameStart);
    attribute.value = {};
    const std::size_t afterName = skipSpace(text, pos);
    if (afterName >= text.size() || text[afterName] != '=') return true;
    pos = skipSpace(text, afterName + 1);
    if (pos < text.size() && (text[pos] == '"' || text[pos] == '\'')) {
        const std::size_t close = text.find(text[pos], pos + 1);
        if (close == std::string_view::npos) {
            pos = text.size();
            return false;
        }
        attribute.value = text.substr(pos + 1, close - pos - 1);
        pos = close + 1;
        return true;
    }
    const std::size_t valueStart = pos;
    while (pos < text.size() && !isSpace(text[pos]) && text[pos] != '>') ++pos;
    attribute.value = text.substr(valueStart, pos - valueStart);
    return true;
}

// The encoding of an XML declaration at the start of text, or empty.
std::string_view xmlDeclarationEncoding(std::string_view text) {
    const std::size_t start = skipSpace(text, 0);
    if (!hasWordAt(text, start, "<?xml")) return {};
    const std::size_t body = start + 5;
    const std::size_t end = text.find("?>", body);
    if (end == std::string_view::npos || !isSpace(text[body])) return {};
    const std::string_view declaration = text.substr(body, end - body);
    std::size_t pos = 0;
    Attribute attribute;
    while (nextAttribute(declaration, pos, attribute)) {
        if (equalsNoCase(attribute.name, "encoding")) return trimSpace(attribute.value);
    }
    return {};
}

// The charset=... of a Content-Type value, as HTML reads it.
std::string_view charsetOfContentType(std::string_view content) {
    for (std::size_t pos = 0; pos < content.size(); ++pos) {
        if (!hasWordAt(content, pos, "charset")) continue;
        std::size_t value = skipSpace(content, pos + 7);
        if (value >= content.size() || content[value] != '=') continue;
        value = skipSpace(content, value + 1);
        if (value < content.size() && (content[value] == '"' || content[value] == '\'')) {
            const std::size_t close = content.find(content[value], value + 1);
            if (close == std::string_view::npos) return {};
            return content.substr(value + 1, close - value - 1);
        }
        std::size_t end = value;
        while (end < content.size() && !isSpace(content[end]) && content[end] != ';') ++end;
        return content.substr(value, end - value);
    }
    return {};
}

// The first <meta> of text that names a character set; tags are read
// attribute by attribute and comments skipped, so that "<meta" inside an
// attribute value or a comment does not count.
std::string_view metaCharset(std::string_view text) {
    std::size_t pos = 0;
    while ((pos = text.find('<', pos)) != std::string_view::npos) {
        if (hasWordAt(text, pos, "<!--")) {
            const std::size_t close = text.find("-->", pos + 4);
            if (close == std::string_view::npos) return {};
            pos = close + 3;
            continue;
        }
        const char next = pos + 1 < text.size() ? lower(text[pos + 1]) : '\0';
        if (next < 'a' || next > 'z') {
            // End tags, <!DOCTYPE>, <?...?>; a lone "<" is text.
            pos = next == '/' || next == '!' || next == '?' ? text.find('>', pos) : pos + 1;
            continue;
        }
        std::size_t nameEnd = pos + 1;
        while (nameEnd < text.size() && !isSpace(text[nameEnd]) && text[nameEnd] != '/' &&
               text[nameEnd] != '>') {
            ++nameEnd;
        }
        const bool meta = equalsNoCase(text.substr(pos + 1, nameEnd - pos - 1), "meta");
        std::string_view charset, httpEquiv, content;
        bool hasCharset = false, hasHttpEquiv = false, hasContent = false;
        pos = nameEnd;
        Attribute attribute;
        while (nextAttribute(text, pos, attribute)) {
            if (!meta) continue;
            // Of attributes given twice, the first counts.
            if (!hasCharset && equalsNoCase(attribute.name, "charset")) {
                hasCharset = true;
                charset = attribute.value;
            } else if (!hasHttpEquiv && equalsNoCase(attribute.name, "http-equiv")) {
                hasHttpEquiv = true;
                httpEquiv = attribute.value;
            } else if (!hasContent && equalsNoCase(attribute.name, "content")) {
                hasContent = true;
                content = attribute.value;
            }
        }
        if (meta) {
            if (!hasCharset && equalsNoCase(trimSpace(httpEquiv), "content-type")) {
                charset = charsetOfContentType(content);
            }
            charset = trimSpace(charset);
            if (!charset.empty()) return charset;
        }
    }
    return {};
}

}  // namespace

std::size_t validUtf8Prefix(std::string_view text) {
    const auto* begin = reinterpret_cast<const unsigned char*>(text.data());
    const unsigned char* end = begin + text.size();
    const unsigned char* p = begin;
    while (p < end) {
        if (*p < 0x80) {
            // Markup is mostly ASCII: eight bytes a step while no byte has
            // its high bit set.
            if (end - p >= 8) {
                std::uint64_t word;
                std::memcpy(&word, p, sizeof word);
                if ((word & 0x8080808080808080ull) == 0) {
                    p += 8;
                    continue;
                }
            }
            ++p;
            continue;
        }
        const std::size_t length = sequenceLength(p, end);
        if (length == 0) break;
        p += length;
    }
    return static_cast<std::size_t>(p - begin);
}

std::string_view declaredEncoding(std::string_view text) {
    if (text.substr(0, kUtf8Bom.size()) == kUtf8Bom) text.remove_prefix(kUtf8Bom.size());
    const std::string_view window = text.substr(0, kDeclarationWindow);
    const std::string_view xml = xmlDeclarationEncoding(window);
    return xml.empty() ? metaCharset(window) : xml;
}

bool needsInputDecoding(std::string_view bytes) {
    const std::string_view start = bytes.substr(0, 2);
    return start == "\xFF\xFE" || start == "\xFE\xFF" || validUtf8Prefix(bytes) != bytes.size();
}

InputDecoding decodeInputText(std::string& bytes) {
    InputDecoding result;
    if (!needsInputDecoding(bytes)) return result;
    const std::string_view text = bytes;
    const bool littleEndian = text.substr(0, 2) == "\xFF\xFE";
    if (littleEndian || text.substr(0, 2) == "\xFE\xFF") {
        bytes = utf16ToUtf8(text.substr(2), !littleEndian);
        result.encoding = InputEncoding::Utf16;
        return result;
    }
    // Not UTF-8 throughout: the scan stops at the first byte that is not.
    const std::size_t valid = validUtf8Prefix(text);

    if (text.substr(0, kUtf8Bom.size()) != kUtf8Bom) {
        const std::string_view declared = declaredEncoding(text);
        result.declaredName.assign(declared.data(), declared.size());
        std::string decoded;
        if (!declared.empty() && classifyCharset(declared) == CharsetKind::AsciiCompatible &&
            convertToUtf8(declared, text, decoded)) {
            bytes.swap(decoded);
            result.encoding = InputEncoding::Declared;
            return result;
        }
    }
    bytes = cp1252Fallback(text, valid);
    result.encoding = InputEncoding::Cp1252Fallback;
    return result;
}

}  // namespace qv

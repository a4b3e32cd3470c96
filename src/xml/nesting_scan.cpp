#include "xml/nesting_scan.h"

#include <array>
#include <cctype>
#include <cstring>
#include <string_view>
#include <vector>

namespace qv {

namespace {

// TinyXML's character classes, which use the C library's in the current
// locale. The tool never changes the locale, so these are the "C" locale's,
// taken from a table instead of a call per byte.
struct CharacterClasses {
    bool space[256] = {};
    bool alpha[256] = {};
    bool alphaNum[256] = {};
    CharacterClasses() {
        for (int c = 0; c < 256; ++c) {
            space[c] = std::isspace(c) || c == '\n' || c == '\r';
            alpha[c] = c >= 127 || std::isalpha(c);
            alphaNum[c] = c >= 127 || std::isalnum(c);
        }
    }
};
const CharacterClasses& classes() {
    static const CharacterClasses table;
    return table;
}

bool isWhiteSpace(char c) { return classes().space[static_cast<unsigned char>(c)]; }
bool isAlpha(char c) { return classes().alpha[static_cast<unsigned char>(c)]; }
bool isAlphaNum(char c) { return classes().alphaNum[static_cast<unsigned char>(c)]; }
char lower(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return u < 128 ? static_cast<char>(std::tolower(u)) : c;
}

// Whether p begins with tag (TiXmlBase::StringEqual).
bool startsWith(const char* p, const char* tag, bool ignoreCase = false) {
    for (; *tag != '\0'; ++p, ++tag) {
        if (*p == '\0') return false;
        if (ignoreCase ? lower(*p) != lower(*tag) : *p != *tag) return false;
    }
    return true;
}

// Past the name at p, or null when no name starts there (TiXmlBase::ReadName).
const char* readName(const char* p) {
    if (*p == '\0' || !(isAlpha(*p) || *p == '_')) return nullptr;
    while (*p != '\0' && (isAlphaNum(*p) || *p == '_' || *p == '-' || *p == '.' || *p == ':')) ++p;
    return p;
}

// The parser's steps over the text, in the encoding it currently reads with.
// value, where given, receives the characters read, as TinyXML stores them.
class Reader {
public:
    explicit Reader(TiXmlEncoding encoding) : encoding_(encoding) {}
    TiXmlEncoding encoding() const { return encoding_; }

    // After the first document-level declaration, when no encoding was given.
    void takeEncodingFrom(const std::string& declared) {
        const char* name = declared.c_str();  // TinyXML reads it up to a NUL
        bool utf8 =
            *name == '\0' || startsWith(name, "UTF-8", true) || startsWith(name, "UTF8", true);
        encoding_ = utf8 ? TIXML_ENCODING_UTF8 : TIXML_ENCODING_LEGACY;
    }

    // TiXmlBase::SkipWhiteSpace: null at the end of the text; in UTF-8 the
    // byte order mark and the two non-characters U+FFFE, U+FFFF are skipped.
    const char* skipWhiteSpace(const char* p) const {
        if (p == nullptr || *p == '\0') return nullptr;
        while (*p != '\0') {
            if (encoding_ == TIXML_ENCODING_UTF8) {
                const auto* u = reinterpret_cast<const unsigned char*>(p);
                if (u[0] == 0xEF && ((u[1] == 0xBB && u[2] == 0xBF) ||
                                     (u[1] == 0xBF && (u[2] == 0xBE || u[2] == 0xBF)))) {
                    p += 3;
                    continue;
                }
            }
            if (!isWhiteSpace(*p)) break;
            ++p;
        }
        return p;
    }

    // TiXmlBase::ReadText keeping all white space: past the end marker, or
    // null when the text ends first or right behind the marker.
    const char* readText(const char* p, const char* end, std::string* value) const {
        // Text is most of a page: when nothing is kept and the marker is one
        // character, the steps over plain characters run in a tight loop,
        // which stops where the general step is needed (the marker, the end,
        // an ampersand).
        const bool plain = value == nullptr && end[0] != '\0' && end[1] == '\0';
        while (p != nullptr && *p != '\0' && !startsWith(p, end)) {
            if (plain) {
                p = skipPlainCharacters(p, end[0]);
                if (*p == '\0' || *p == end[0]) continue;
            }
            p = stepCharacter(p, value);
        }
        if (p != nullptr && *p != '\0') p += std::strlen(end);
        return p != nullptr && *p != '\0' ? p : nullptr;
    }

    // TiXmlAttribute::Parse: past the value, or null on an error.
    const char* readAttribute(const char* p, std::string* value) const {
        p = skipWhiteSpace(p);
        if (p == nullptr || *p == '\0') return nullptr;
        p = readName(p);
        if (p == nullptr || *p == '\0') return nullptr;
        p = skipWhiteSpace(p);
        if (p == nullptr || *p != '=') return nullptr;
        p = skipWhiteSpace(p + 1);
        if (p == nullptr || *p == '\0') return nullptr;
        if (*p == '\'' || *p == '"') {
            const char end[2] = {*p, '\0'};
            return readText(p + 1, end, value);
        }
        for (; *p != '\0' && !isWhiteSpace(*p) && *p != '/' && *p != '>'; ++p) {
            if (*p == '\'' || *p == '"') return nullptr;
            if (value != nullptr) value->push_back(*p);
        }
        return p;
    }

    // TiXmlDeclaration::Parse: past it, or null on an error; declared gets
    // the value of its encoding attribute.
    const char* readDeclaration(const char* p, std::string& declared) const {
        p += 5;  // "<?xml"
        while (p != nullptr && *p != '\0') {
            if (*p == '>') return p + 1;
            p = skipWhiteSpace(p);
            if (p == nullptr || *p == '\0') break;
            if (startsWith(p, "version", true) || startsWith(p, "standalone", true)) {
                p = readAttribute(p, nullptr);
            } else if (startsWith(p, "encoding", true)) {
                declared.clear();
                p = readAttribute(p, &declared);
            } else {
                while (*p != '\0' && *p != '>' && !isWhiteSpace(*p)) ++p;
            }
        }
        return nullptr;
    }

private:
    // The steps of stepCharacter over characters other than an ampersand, up
    // to the first step that lands on the end of the text, stop or "&".
    const char* skipPlainCharacters(const char* p, char stop) const {
        // Bytes that are one step of their own and never a stop: ASCII other
        // than NUL, "&", "<" and the quotes, and bytes that lead no sequence.
        static const auto kSingle = [] {
            std::array<bool, 256> single{};
            for (int c = 1; c < 256; ++c) {
                single[c] =
                    !(c == '&' || c == '<' || c == '"' || c == '\'' || (c >= 0xC2 && c <= 0xF4));
            }
            return single;
        }();
        const bool utf8 = encoding_ == TIXML_ENCODING_UTF8;
        for (;;) {
            while (kSingle[static_cast<unsigned char>(*p)]) ++p;
            const auto lead = static_cast<unsigned char>(*p);
            if (lead == '\0' || lead == static_cast<unsigned char>(stop) || lead == '&') return p;
            if (!utf8 || lead < 0xC2 || lead > 0xF4) {
                ++p;  // a quote or "<" that does not stop this text, or a lone byte
            } else {
                p += lead <= 0xDF ? 2 : lead <= 0xEF ? 3 : 4;
            }
        }
    }

    // TiXmlBase::GetChar: a lead byte steps over its whole UTF-8 sequence,
    // whatever follows it (a "<" or a quote included).
    const char* stepCharacter(const char* p, std::string* value) const {
        unsigned char lead = static_cast<unsigned char>(*p);
        int length = 1;
        if (encoding_ == TIXML_ENCODING_UTF8) {
            if (lead >= 0xC2 && lead <= 0xDF)
                length = 2;
            else if (lead >= 0xE0 && lead <= 0xEF)
                length = 3;
            else if (lead >= 0xF0 && lead <= 0xF4)
                length = 4;
        }
        if (length == 1) {
            if (*p == '&') return stepReference(p, value);
            if (value != nullptr) value->push_back(*p);
            return p + 1;
        }
        if (value != nullptr) {
            bool ended = false;
            for (int i = 0; i < length; ++i) {
                ended = ended || p[i] == '\0';
                value->push_back(ended ? '\0' : p[i]);
            }
        }
        return p + length;
    }

    // TiXmlBase::GetEntity: a numeric reference reaches to the next ";" and
    // is read backwards from it, so that anything between "&#" and the last
    // "#" (or "&#x" and the last "x") before that ";" is stepped over.
    const char* stepReference(const char* p, std::string* value) const {
        if (p[1] == '#' && p[2] != '\0') {
            const bool hex = p[2] == 'x';
            if (hex && p[3] == '\0') return nullptr;
            const char* semicolon = std::strchr(p + (hex ? 3 : 2), ';');
            if (semicolon == nullptr) return nullptr;
            unsigned long code = 0;
            unsigned weight = 1;
            for (const char* q = semicolon - 1; *q != (hex ? 'x' : '#'); --q) {
                unsigned digit;
                if (*q >= '0' && *q <= '9')
                    digit = static_cast<unsigned>(*q - '0');
                else if (hex && *q >= 'a' && *q <= 'f')
                    digit = static_cast<unsigned>(*q - 'a' + 10);
                else if (hex && *q >= 'A' && *q <= 'F')
                    digit = static_cast<unsigned>(*q - 'A' + 10);
                else
                    return nullptr;
                code += weight * digit;
                weight *= hex ? 16 : 10;
            }
            if (value != nullptr) appendCode(code, *value);
            return semicolon + 1;
        }
        static const struct {
            const char* text;
            char character;
        } kPredefined[] = {
            {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
        for (const auto& entity : kPredefined) {
            if (std::strncmp(entity.text, p, std::strlen(entity.text)) == 0) {
                if (value != nullptr) value->push_back(entity.character);
                return p + std::strlen(entity.text);
            }
        }
        return p + 1;  // an ampersand that begins no reference is dropped
    }

    // Only whether the characters are ASCII matters here: others are stood
    // for by as many bytes from 0x80 up as TinyXML's conversion gives.
    void appendCode(unsigned long code, std::string& value) const {
        if (encoding_ != TIXML_ENCODING_UTF8 || code < 0x80) {
            value.push_back(static_cast<char>(code));
            return;
        }
        std::size_t length = code < 0x800 ? 2 : code < 0x10000 ? 3 : code < 0x200000 ? 4 : 0;
        value.append(length, '\x80');
    }

    TiXmlEncoding encoding_;
};

}  // namespace

XmlExcess findExcessiveElement(const char* text, TiXmlEncoding encoding, XmlLimits limits) {
    XmlExcess excess;
    if (text == nullptr || *text == '\0') return excess;
    if (encoding == TIXML_ENCODING_UNKNOWN && startsWith(text, "\xEF\xBB\xBF")) {
        encoding = TIXML_ENCODING_UTF8;
    }
    Reader reader(encoding);
    excess.limits = limits;
    // The names of the elements whose content is being read, outermost first.
    std::vector<std::string_view> open;
    std::size_t work = 0;
    const char* p = reader.skipWhiteSpace(text);
    while (p != nullptr && *p != '\0') {
        if (*p != '<') {
            if (open.empty()) break;  // text ends the document level
            p = reader.readText(p, "<", nullptr);
            if (p != nullptr) --p;  // back to the "<"
        } else if (!open.empty() && startsWith(p, "</")) {
            const std::string_view name = open.back();
            const char* q = p + 2;
            if (std::strncmp(q, name.data(), name.size()) != 0) break;
            q = reader.skipWhiteSpace(q + name.size());
            if (q == nullptr || *q != '>') break;
            p = q + 1;
            open.pop_back();
        } else if (p[1] == '?' && startsWith(p, "<?xml", true)) {
            std::string declared;
            p = reader.readDeclaration(p, declared);
            if (open.empty() && reader.encoding() == TIXML_ENCODING_UNKNOWN) {
                reader.takeEncodingFrom(declared);
            }
        } else if (p[1] == '!' && startsWith(p, "<!--")) {
            const char* end = std::strstr(p + 4, "-->");
            p = end != nullptr ? end + 3 : p + std::strlen(p);
        } else if (p[1] == '!' && startsWith(p, "<![CDATA[")) {
            const char* end = std::strstr(p + 9, "]]>");
            p = end != nullptr && end[3] != '\0' ? end + 3 : nullptr;
        } else if (p[1] == '!' || !(isAlpha(p[1]) || p[1] == '_')) {
            const char* end = std::strchr(p + 1, '>');
            p = end != nullptr ? end + 1 : p + std::strlen(p);
        } else {
            // An element: the parser recurses into it before reading its name.
            const std::size_t offset = static_cast<std::size_t>(p - text);
            if (open.size() >= kFreeDepth) work += open.size() + 1 - kFreeDepth;
            if (open.size() >= limits.nesting || work > limits.work) {
                excess.offset = offset;
                excess.kind = open.size() >= limits.nesting ? XmlExcess::Kind::Nesting
                                                            : XmlExcess::Kind::Work;
                return excess;
            }
            const char* name = reader.skipWhiteSpace(p + 1);
            p = readName(name);
            if (p == nullptr || *p == '\0') break;
            const std::string_view elementName(name, static_cast<std::size_t>(p - name));
            bool hasContent = false;
            for (std::size_t attributes = 0;; ++attributes) {
                if (attributes > limits.attributes) {
                    excess.offset = offset;
                    excess.kind = XmlExcess::Kind::Attributes;
                    return excess;
                }
                p = reader.skipWhiteSpace(p);
                if (p == nullptr || *p == '\0') break;
                if (*p == '/') {
                    p = p[1] == '>' ? p + 2 : nullptr;
                    break;
                }
                if (*p == '>') {
                    ++p;
                    hasContent = true;
                    break;
                }
                p = reader.readAttribute(p, nullptr);
                if (p == nullptr || *p == '\0') break;
            }
            if (p == nullptr || (*p == '\0' && !hasContent)) break;
            if (hasContent) open.push_back(elementName);
        }
        if (p == nullptr) break;
        p = reader.skipWhiteSpace(p);
    }
    return excess;
}

std::string describeExcess(const XmlExcess& excess) {
    switch (excess.kind) {
        case XmlExcess::Kind::Attributes:
            return "\311l\351ment de plus de " + std::to_string(excess.limits.attributes) +
                   " attributs";
        case XmlExcess::Kind::Work:
            return "\311l\351ments imbriqu\351s trop profond\351ment : plus de " +
                   std::to_string(excess.limits.work) + " niveaux cumul\351s";
        case XmlExcess::Kind::Nesting:
            break;
    }
    return "\311l\351ments imbriqu\351s sur plus de " + std::to_string(excess.limits.nesting) +
           " niveaux";
}

TextPosition positionOf(const std::string& text, std::size_t offset) {
    TextPosition position{1, 1};
    for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\n') {
            ++position.line;
            position.column = 1;
        } else if ((c & 0xC0) != 0x80) {
            ++position.column;
        }
    }
    return position;
}

}  // namespace qv

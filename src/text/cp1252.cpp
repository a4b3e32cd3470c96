#include "text/cp1252.h"

namespace qv {

namespace {

// What the bytes 0x80-0x9F show in code page 1252; 0 marks the five holes.
const std::uint16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// Length of the well-formed UTF-8 sequence at the start of bytes and its
// code point, or 0 when the sequence is malformed or truncated.
std::size_t decodeSequence(const unsigned char* bytes, std::size_t available,
                           std::uint32_t& codePoint) {
    unsigned char lead = bytes[0];
    std::size_t length;
    std::uint32_t low;  // smallest code point of this length (no overlong forms)
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

int cp1252FromCodePoint(std::uint32_t codePoint) {
    if (codePoint <= 0xFF) return static_cast<int>(codePoint);
    for (int i = 0; i < 32; ++i) {
        if (kHighControls[i] != 0 && kHighControls[i] == codePoint) return 0x80 + i;
    }
    return -1;
}

std::uint32_t codePointFromCp1252(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F && kHighControls[byte - 0x80] != 0) {
        return kHighControls[byte - 0x80];
    }
    return byte;
}

std::string utf8ToCp1252(std::string_view value) {
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

std::string utf8AsShown(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    const auto* bytes = reinterpret_cast<const unsigned char*>(value.data());
    std::size_t i = 0;
    while (i < value.size()) {
        std::size_t start = i;
        while (i < value.size() && bytes[i] < 0x80) ++i;
        out.append(value.data() + start, i - start);
        if (i == value.size()) break;
        std::uint32_t codePoint = 0;
        std::size_t length = decodeSequence(bytes + i, value.size() - i, codePoint);
        if (length == 0) {
            out.push_back('?');
            ++i;
        } else if (codePoint <= 0x9F) {
            appendUtf8(out, codePointFromCp1252(static_cast<unsigned char>(codePoint)));
            i += length;
        } else {
            out.append(value.data() + i, length);
            i += length;
        }
    }
    return out;
}

void appendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        const char units[] = {static_cast<char>(0xC0 | (cp >> 6)),
                              static_cast<char>(0x80 | (cp & 0x3F))};
        out.append(units, 2);
    } else if (cp < 0x10000) {
        const char units[] = {static_cast<char>(0xE0 | (cp >> 12)),
                              static_cast<char>(0x80 | ((cp >> 6) & 0x3F)),
                              static_cast<char>(0x80 | (cp & 0x3F))};
        out.append(units, 3);
    } else {
        const char units[] = {
            static_cast<char>(0xF0 | (cp >> 18)), static_cast<char>(0x80 | ((cp >> 12) & 0x3F)),
            static_cast<char>(0x80 | ((cp >> 6) & 0x3F)), static_cast<char>(0x80 | (cp & 0x3F))};
        out.append(units, 4);
    }
}

void appendCp1252AsUtf8(std::string& out, std::string_view cp1252) {
    for (char c : cp1252) appendUtf8(out, codePointFromCp1252(static_cast<unsigned char>(c)));
}

}  // namespace qv

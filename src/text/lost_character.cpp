#include "text/lost_character.h"

#include <cstdint>
#include <cstdio>

#include "text/cp1252.h"
#include "text/input_encoding.h"

namespace qv {

LostCharacter firstLostCharacter(std::string_view utf8) {
    for (std::size_t at = 0; at < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[at]);
        if (lead < 0x80) {
            ++at;
            continue;
        }
        const std::size_t length = lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char name[16];
        if (validUtf8Prefix(utf8.substr(at, length)) != length) {
            std::snprintf(name, sizeof name, "0x%02X", lead);
            return {at, 1, name};
        }
        std::uint32_t codePoint = lead & (0xFFu >> (length + 1));
        for (std::size_t k = 1; k < length; ++k) {
            codePoint = (codePoint << 6) | (static_cast<unsigned char>(utf8[at + k]) & 0x3Fu);
        }
        if (cp1252FromCodePoint(codePoint) < 0) {
            std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(codePoint));
            return {at, length, name};
        }
        at += length;
    }
    return {};
}

}  // namespace qv

#include "platform/languages.h"

#include <unicode/uloc.h>
#include <unicode/ustring.h>

#include <cstdlib>

namespace qv {

namespace {

bool parseHexIdentifier(std::string_view value, unsigned& id) {
    if (value.size() < 3 || value.size() > 10 || value[0] != '0' ||
        (value[1] != 'x' && value[1] != 'X')) {
        return false;
    }
    const std::string digits(value.substr(2));
    char* end = nullptr;
    const unsigned long parsed = std::strtoul(digits.c_str(), &end, 16);
    if (end == digits.c_str() || *end != '\0' || parsed == 0 || parsed > 0xFFFF) return false;
    id = static_cast<unsigned>(parsed);
    return true;
}

}  // namespace

bool findWindowsLanguage(std::string_view value, WindowsLanguage& language) {
    char locale[ULOC_FULLNAME_CAPACITY] = {};
    UErrorCode error = U_ZERO_ERROR;
    unsigned id = 0;
    if (parseHexIdentifier(value, id)) {
        uloc_getLocaleForLCID(id, locale, sizeof locale, &error);
    } else {
        const std::string tag(value);
        int32_t parsed = 0;
        uloc_forLanguageTag(tag.c_str(), locale, sizeof locale, &parsed, &error);
        if (U_SUCCESS(error) && parsed != static_cast<int32_t>(tag.size())) return false;
        id = U_SUCCESS(error) ? uloc_getLCID(locale) : 0;
    }
    if (U_FAILURE(error) || id == 0 || locale[0] == '\0') return false;

    UChar name[128];
    error = U_ZERO_ERROR;
    const int32_t length = uloc_getDisplayName(locale, "en", name, 128, &error);
    if (U_FAILURE(error) || length <= 0 || length >= 128) return false;
    char utf8[512];
    int32_t utf8Length = 0;
    u_strToUTF8(utf8, sizeof utf8, &utf8Length, name, length, &error);
    if (U_FAILURE(error)) return false;
    language.id = id;
    language.englishName.assign(utf8, static_cast<std::size_t>(utf8Length));
    return true;
}

}  // namespace qv

#include "platform/charset.h"

#include <unicode/ucnv.h>

#include <climits>
#include <cstring>

namespace qv {

namespace {

// The characters a declaration and the markup around it are written in. A
// set that reads them as ASCII reads the declaration as the page's author
// wrote it; "+", "\" and "~" are left out since UTF-7, Shift_JIS and HZ give
// them other meanings while keeping the rest of ASCII.
constexpr char kMarkupProbe[] =
    "\t\n\r !\"#&'(),-./0123456789:;<=>?ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz";

// ucnv_convert takes int32_t lengths, and the first try gives the target
// three bytes per source byte.
constexpr std::size_t kMaxSourceSize = (INT32_MAX - 1) / 3;

}  // namespace

CharsetKind classifyCharset(std::string_view name) {
    // An empty name would open ICU's default converter.
    if (name.empty() || name.find('\0') != std::string_view::npos) return CharsetKind::Unknown;
    const std::string nameZ(name);
    UErrorCode error = U_ZERO_ERROR;
    UConverter* converter = ucnv_open(nameZ.c_str(), &error);
    if (U_FAILURE(error) || converter == nullptr) {
        if (converter != nullptr) ucnv_close(converter);
        return CharsetKind::Unknown;
    }
    CharsetKind kind = CharsetKind::Other;
    const char* canonical = ucnv_getName(converter, &error);
    if (U_SUCCESS(error) && canonical != nullptr && std::strcmp(canonical, "UTF-8") == 0) {
        kind = CharsetKind::Utf8;
    } else {
        constexpr int32_t probeLength = sizeof kMarkupProbe - 1;
        UChar units[probeLength + 1];
        error = U_ZERO_ERROR;
        const int32_t length =
            ucnv_toUChars(converter, units, probeLength + 1, kMarkupProbe, probeLength, &error);
        bool same = U_SUCCESS(error) && length == probeLength;
        for (int32_t i = 0; same && i < probeLength; ++i) {
            same = units[i] == static_cast<UChar>(kMarkupProbe[i]);
        }
        if (same) kind = CharsetKind::AsciiCompatible;
    }
    ucnv_close(converter);
    return kind;
}

bool convertToUtf8(std::string_view charsetName, std::string_view bytes, std::string& utf8) {
    utf8.clear();
    // ICU converts an empty text without opening the converter at all.
    if (bytes.empty()) return isKnownCharset(charsetName);
    if (charsetName.empty() || charsetName.find('\0') != std::string_view::npos ||
        bytes.size() > kMaxSourceSize) {
        return false;
    }
    const std::string nameZ(charsetName);
    const auto sourceLength = static_cast<int32_t>(bytes.size());
    // Three bytes a source byte is enough for every set but a few
    // compressing ones; those are told the length they need and run again.
    int32_t capacity = 3 * sourceLength + 1;
    for (int attempt = 0; attempt < 2; ++attempt) {
        utf8.resize(static_cast<std::size_t>(capacity));
        UErrorCode error = U_ZERO_ERROR;
        const int32_t length = ucnv_convert("UTF-8", nameZ.c_str(), utf8.data(), capacity,
                                            bytes.data(), sourceLength, &error);
        if (error == U_BUFFER_OVERFLOW_ERROR && attempt == 0 && length < INT32_MAX) {
            capacity = length + 1;
            continue;
        }
        if (U_FAILURE(error) || length < 0) break;
        utf8.resize(static_cast<std::size_t>(length));
        return true;
    }
    utf8.clear();
    return false;
}

}  // namespace qv

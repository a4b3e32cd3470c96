#include "platform/word_breaker.h"

#include <unicode/ubrk.h>
#include <unicode/uchar.h>
#include <unicode/uloc.h>
#include <unicode/unorm2.h>
#include <unicode/ustring.h>

namespace qv {

namespace {

std::string localeOf(unsigned languageId) {
    char locale[ULOC_FULLNAME_CAPACITY] = {};
    UErrorCode error = U_ZERO_ERROR;
    uloc_getLocaleForLCID(languageId, locale, sizeof locale, &error);
    return U_SUCCESS(error) ? std::string(locale) : std::string();
}

bool isApostrophe(char16_t unit) { return unit == u'\'' || unit == u'\u2019'; }

std::u16string toUtf16(std::string_view text) {
    std::u16string units(text.size(), u'\0');
    int32_t length = 0;
    UErrorCode error = U_ZERO_ERROR;
    // U+FFFD for a byte that is not UTF-8: no word character, so it breaks.
    u_strFromUTF8WithSub(reinterpret_cast<UChar*>(units.data()), static_cast<int32_t>(units.size()),
                         &length, text.data(), static_cast<int32_t>(text.size()), 0xFFFD, nullptr,
                         &error);
    units.resize(U_SUCCESS(error) ? static_cast<std::size_t>(length) : 0);
    return units;
}

}  // namespace

WordBreaker::WordBreaker(unsigned languageId) : locale_(localeOf(languageId)) {
    const std::string language = locale_.substr(0, locale_.find('_'));
    dotlessI_ = language == "tr" || language == "az";
    UErrorCode error = U_ZERO_ERROR;
    iterator_ = ubrk_open(UBRK_WORD, locale_.c_str(), nullptr, 0, &error);
    if (U_FAILURE(error)) iterator_ = nullptr;
}

WordBreaker::~WordBreaker() {
    if (iterator_ != nullptr) ubrk_close(iterator_);
}

void WordBreaker::split(std::string_view text, std::vector<std::string>& words) {
    if (iterator_ == nullptr || text.empty()) return;
    const std::u16string units = toUtf16(text);
    UErrorCode error = U_ZERO_ERROR;
    ubrk_setText(iterator_, reinterpret_cast<const UChar*>(units.data()),
                 static_cast<int32_t>(units.size()), &error);
    if (U_FAILURE(error)) return;
    int32_t start = ubrk_first(iterator_);
    for (int32_t end = ubrk_next(iterator_); end != UBRK_DONE;
         start = end, end = ubrk_next(iterator_)) {
        // Spaces, punctuation and symbols have the status "none".
        if (ubrk_getRuleStatus(iterator_) < UBRK_WORD_NONE_LIMIT) continue;
        int32_t partStart = start;
        for (int32_t i = start; i <= end; ++i) {
            if (i < end && !isApostrophe(units[static_cast<std::size_t>(i)])) continue;
            if (i > partStart) addWord(units.data() + partStart, i - partStart, words);
            partStart = i + 1;
        }
    }
}

void WordBreaker::addWord(const char16_t* units, int length,
                          std::vector<std::string>& words) const {
    // Most words are ASCII: lower-cased here, unless the language lower-cases
    // I otherwise (Turkish ı).
    bool ascii = true;
    for (int i = 0; i < length && ascii; ++i) {
        ascii = units[i] < 0x80 && !(units[i] == u'I' && dotlessI_);
    }
    if (ascii) {
        std::string word(static_cast<std::size_t>(length), '\0');
        for (int i = 0; i < length; ++i) {
            const char16_t unit = units[i];
            word[static_cast<std::size_t>(i)] =
                static_cast<char>(unit >= u'A' && unit <= u'Z' ? unit + 32 : unit);
        }
        words.push_back(std::move(word));
        return;
    }
    // Invisible format characters (a soft hyphen) do not make another word;
    // the joiners that choose a letter's form in some scripts stay.
    std::u16string kept;
    for (int i = 0; i < length; ++i) {
        const char16_t unit = units[i];
        if (u_charType(unit) != U_FORMAT_CHAR || unit == u'\u200C' || unit == u'\u200D') {
            kept += unit;
        }
    }
    if (kept.empty()) return;
    // Lower case may lengthen a word (İ gives i and a dot), and so may
    // composition (a few characters are always written decomposed).
    std::u16string lower(kept.size() * 3 + 1, u'\0');
    UErrorCode error = U_ZERO_ERROR;
    const int32_t lowerLength =
        u_strToLower(reinterpret_cast<UChar*>(lower.data()), static_cast<int32_t>(lower.size()),
                     reinterpret_cast<const UChar*>(kept.data()), static_cast<int32_t>(kept.size()),
                     locale_.c_str(), &error);
    if (U_FAILURE(error)) return;
    const UNormalizer2* nfc = unorm2_getNFCInstance(&error);
    std::u16string composed(static_cast<std::size_t>(lowerLength) * 3 + 1, u'\0');
    const int32_t composedLength =
        U_FAILURE(error) ? -1
                         : unorm2_normalize(nfc, reinterpret_cast<const UChar*>(lower.data()),
                                            lowerLength, reinterpret_cast<UChar*>(composed.data()),
                                            static_cast<int32_t>(composed.size()), &error);
    if (U_FAILURE(error) || composedLength <= 0) return;
    std::string utf8(static_cast<std::size_t>(composedLength) * 3, '\0');
    int32_t utf8Length = 0;
    u_strToUTF8(utf8.data(), static_cast<int32_t>(utf8.size()), &utf8Length,
                reinterpret_cast<const UChar*>(composed.data()), composedLength, &error);
    if (U_FAILURE(error)) return;
    utf8.resize(static_cast<std::size_t>(utf8Length));
    words.push_back(std::move(utf8));
}

}  // namespace qv

#include "platform/word_breaker.h"

#include <unicode/ubrk.h>
#include <unicode/uchar.h>
#include <unicode/uloc.h>
#include <unicode/unorm2.h>
#include <unicode/ustring.h>

#include <algorithm>

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

// What an ASCII character does in a word, by the word rules: a letter, a
// digit, "_" (joins what it touches), punctuation that joins two letters or
// two digits it stands between; blanks end every word.
enum AsciiRole : unsigned char {
    kLetter = 1,
    kDigit = 2,
    kConnector = 4,
    kJoinsLetters = 8,
    kJoinsDigits = 16,
    kBlank = 32,
};
constexpr unsigned char kInWord = kLetter | kDigit | kConnector;

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

bool isAscii(char c) { return static_cast<unsigned char>(c) < 0x80; }

// A place where the text may be cut: after a blank, before ASCII that is not.
bool isCut(std::string_view text, std::size_t at) {
    return at == 0 || at >= text.size() ||
           (isBlank(text[at - 1]) && isAscii(text[at]) && !isBlank(text[at]));
}

// The last cut in (from, to], else from.
std::size_t lastCutUpTo(std::string_view text, std::size_t from, std::size_t to) {
    for (std::size_t at = to; at > from; --at) {
        if (isCut(text, at)) return at;
    }
    return from;
}

// The first cut after from, else the end.
std::size_t firstCutAfter(std::string_view text, std::size_t from) {
    std::size_t at = from + 1;
    while (at < text.size() && !isCut(text, at)) ++at;
    return std::min(at, text.size());
}

std::size_t firstNotAscii(std::string_view text, std::size_t from) {
    while (from < text.size() && isAscii(text[from])) ++from;
    return from;
}

// Stretches of ASCII shorter than this between other characters go to ICU
// with them: ICU's setup for a stretch costs more than it saves.
constexpr std::size_t kShortAscii = 256;

// Probes of what the word rules do with ASCII: each character between
// letters, digits and connectors, and runs of them.
std::string asciiProbes() {
    std::string probes = "__ _ a_b _1 1_a ab12_c x86_64 e.g. 3.14.15 a..b x  y\n";
    const char* const shapes[] = {"a%b", "1%2", "a%1",  "1%a",   "_%a",   "a%_",   "%a",
                                  "a%",  "%",   "a%%b", "a%b%c", "1%2%3", "a%b%1", "_%_",
                                  "%%",  "%.a", "a.%",  "%.1",   "1.%",   "%,1",   "1,%",
                                  "%:a", "a:%", "%'a",  "a'%"};
    for (int c = 1; c < 0x80; ++c) {
        for (const char* shape : shapes) {
            for (const char* at = shape; *at != '\0'; ++at) {
                probes += *at == '%' ? static_cast<char>(c) : *at;
            }
            probes += '\n';
        }
    }
    return probes;
}

}  // namespace

WordBreaker::WordBreaker(unsigned languageId, bool asciiShortcut) : locale_(localeOf(languageId)) {
    const std::string language = locale_.substr(0, locale_.find('_'));
    dotlessI_ = language == "tr" || language == "az";
    UErrorCode error = U_ZERO_ERROR;
    iterator_ = ubrk_open(UBRK_WORD, locale_.c_str(), nullptr, 0, &error);
    if (U_FAILURE(error)) iterator_ = nullptr;
    shortcut_ = asciiShortcut && iterator_ != nullptr && learnAscii();
}

WordBreaker::~WordBreaker() {
    if (iterator_ != nullptr) ubrk_close(iterator_);
}

// Learns from ICU which punctuation joins letters, and which digits, then
// checks that the probes break as ICU breaks them.
bool WordBreaker::learnAscii() {
    for (int c = 0; c < 0x80; ++c) {
        const char ch = static_cast<char>(c);
        unsigned char role = 0;
        if ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z')) role = kLetter;
        if (ch >= '0' && ch <= '9') role = kDigit;
        if (ch == '_') role = kConnector;
        if (isBlank(ch)) role = kBlank;
        std::vector<std::string> words;
        // A sign that ICU reads as a letter ("@", for addresses).
        if (role == 0) splitWithIcu(std::string{ch}, words);
        if (words.size() == 1) role = kLetter;
        if (role == 0) {
            splitWithIcu(std::string{'a', ch, 'b'}, words);
            if (words.size() == 1) role |= kJoinsLetters;
            words.clear();
            splitWithIcu(std::string{'1', ch, '2'}, words);
            if (words.size() == 1) role |= kJoinsDigits;
        }
        ascii_[static_cast<std::size_t>(c)] = role;
    }
    const std::string probes = asciiProbes();
    std::vector<std::string> expected;
    std::vector<std::string> got;
    splitWithIcu(probes, expected);
    splitAscii(probes, got);
    return got == expected;
}

void WordBreaker::split(std::string_view text, std::vector<std::string>& words) {
    if (iterator_ == nullptr) return;
    if (!shortcut_) {
        splitWithIcu(text, words);
        return;
    }
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t other = firstNotAscii(text, at);
        if (other == text.size()) {
            splitAscii(text.substr(at), words);
            return;
        }
        const std::size_t cut = lastCutUpTo(text, at, other);
        splitAscii(text.substr(at, cut - at), words);
        // ICU reads up to a cut after the other characters, and on over
        // short stretches of ASCII to the next ones.
        std::size_t end = firstCutAfter(text, other);
        for (std::size_t next = firstNotAscii(text, end);
             next < text.size() && next - end < kShortAscii; next = firstNotAscii(text, end)) {
            end = firstCutAfter(text, next);
        }
        splitWithIcu(text.substr(cut, end - cut), words);
        at = end;
    }
}

// The words of ASCII text: runs of letters, digits and connectors, joined
// across one joining character between two letters or two digits. A run of
// connectors alone is a word when it has two of them, as ICU has it.
void WordBreaker::splitAscii(std::string_view text, std::vector<std::string>& words) const {
    const auto role = [&](std::size_t at) { return ascii_[static_cast<unsigned char>(text[at])]; };
    std::size_t at = 0;
    while (at < text.size()) {
        if ((role(at) & kInWord) == 0) {
            ++at;
            continue;
        }
        const std::size_t start = at;
        unsigned char seen = 0;
        for (;;) {
            while (at < text.size() && (role(at) & kInWord) != 0) seen |= role(at++);
            if (at + 1 >= text.size()) break;
            const unsigned char before = role(at - 1);
            const unsigned char joiner = role(at);
            const unsigned char after = role(at + 1);
            const bool letters = (before & after & kLetter) != 0 && (joiner & kJoinsLetters) != 0;
            const bool digits = (before & after & kDigit) != 0 && (joiner & kJoinsDigits) != 0;
            if (!letters && !digits) break;
            ++at;
        }
        if ((seen & (kLetter | kDigit)) == 0 && at - start < 2) continue;
        // An apostrophe ends a word, as in splitWithIcu.
        std::size_t partStart = start;
        for (std::size_t i = start; i <= at; ++i) {
            if (i < at && text[i] != '\'') continue;
            if (i > partStart) addAsciiWord(text.substr(partStart, i - partStart), words);
            partStart = i + 1;
        }
    }
}

void WordBreaker::addAsciiWord(std::string_view word, std::vector<std::string>& words) const {
    if (dotlessI_ && word.find('I') != std::string_view::npos) {
        const std::u16string units(word.begin(), word.end());
        addWord(units.data(), static_cast<int>(units.size()), words);
        return;
    }
    std::string& lower = words.emplace_back(word);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
}

void WordBreaker::splitWithIcu(std::string_view text, std::vector<std::string>& words) {
    if (text.empty()) return;
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

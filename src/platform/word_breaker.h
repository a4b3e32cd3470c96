#pragma once
#include <string>
#include <string_view>
#include <vector>

struct UBreakIterator;

namespace qv {

// The words of a text as a full-text search sees them, for one language:
// ICU's word boundaries for its locale, keeping the runs of letters (of any
// alphabet, Japanese and Chinese split by ICU's dictionaries) and of digits,
// lower-cased by the language's rules and composed (NFC), so that a page and
// a query written with different forms of "é" give the same word. An
// apostrophe (' or ’) ends a word, so that "l’équipe" gives "l" and
// "équipe": searching the noun finds it behind an elided article.
// Opened once and reused for every text of a help set; not thread-safe.
class WordBreaker {
public:
    // languageId: a Windows language identifier (0x40c); an unknown one
    // breaks and lower-cases by ICU's root rules.
    explicit WordBreaker(unsigned languageId);
    ~WordBreaker();
    WordBreaker(const WordBreaker&) = delete;
    WordBreaker& operator=(const WordBreaker&) = delete;

    // Appends the words of text (UTF-8; a byte that is not valid UTF-8
    // breaks words), in order, as UTF-8.
    void split(std::string_view text, std::vector<std::string>& words);

private:
    void addWord(const char16_t* units, int length, std::vector<std::string>& words) const;

    std::string locale_;
    bool dotlessI_ = false;  // the language lower-cases I to ı
    ::UBreakIterator* iterator_ = nullptr;
};

}  // namespace qv

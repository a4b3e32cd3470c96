#pragma once
#include <array>
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
//
// Text in ASCII is broken without ICU, by the word rules as they apply to
// ASCII, with the punctuation that joins letters or digits learnt from ICU
// for the language; the breaker checks that it breaks a set of probes as ICU
// does, and leaves everything to ICU when it does not. ICU reads the stretches
// around other characters, cut where a blank is followed by ASCII: a place
// where every word rule breaks, and that no rule looks across.
class WordBreaker {
public:
    // languageId: a Windows language identifier (0x40c); an unknown one
    // breaks and lower-cases by ICU's root rules. asciiShortcut false: ICU
    // reads every text (to compare the two).
    explicit WordBreaker(unsigned languageId, bool asciiShortcut = true);
    ~WordBreaker();
    WordBreaker(const WordBreaker&) = delete;
    WordBreaker& operator=(const WordBreaker&) = delete;

    // Appends the words of text (UTF-8; a byte that is not valid UTF-8
    // breaks words), in order, as UTF-8.
    void split(std::string_view text, std::vector<std::string>& words);

    // Whether ASCII is broken without ICU: the probes broke as ICU breaks them.
    bool breaksAsciiItself() const { return shortcut_; }

private:
    void splitWithIcu(std::string_view text, std::vector<std::string>& words);
    void splitAscii(std::string_view text, std::vector<std::string>& words) const;
    void addAsciiWord(std::string_view word, std::vector<std::string>& words) const;
    void addWord(const char16_t* units, int length, std::vector<std::string>& words) const;
    bool learnAscii();

    std::string locale_;
    bool dotlessI_ = false;  // the language lower-cases I to ı
    ::UBreakIterator* iterator_ = nullptr;
    bool shortcut_ = false;                   // ASCII broken without ICU
    std::array<unsigned char, 128> ascii_{};  // what each ASCII character does in a word
};

}  // namespace qv

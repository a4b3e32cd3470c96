#include "platform/word_breaker.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

std::string joined(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words) text += (text.empty() ? "" : "|") + word;
    return text;
}

TEST(WordBreaker, LettersOfEveryAlphabetLowerCasedByTheLanguage) {
    struct Case {
        unsigned languageId;
        std::string text;
        std::string words;
    };
    const Case cases[] = {
        {0x40c, "Équipement naïf ÉLÈVE", "équipement|naïf|élève"},
        {0x40c, "l’aide d'Ève, aujourd’hui", "l|aide|d|ève|aujourd|hui"},
        {0x407, "Straße GRÜSSE Über-Setzung", "straße|grüsse|über|setzung"},
        {0x408, "ΟΔΌΣ Αθήνα", "οδός|αθήνα"},
        {0x411, "日本語のテキスト", "日本語|の|テキスト"},
        {0x41f, "KIŞ İSTANBUL Iğdır", "kış|istanbul|ığdır"},
        {0x409, "KIŞ Index", "kiş|index"},
        {0x40c, "version 3.2, 2024 et 10 000 ; x86_64", "version|3.2|2024|et|10|000|x86_64"},
        {0x40c, "a → b ! « c » 50 % — d", "a|b|c|50|d"},
        {0x40c, "e\xCC\x81t\xC3\xA9 co\xC2\xADop\xC3\xA9ration", "été|coopération"},
        {0x40c,
         "a\xFF"
         "b",
         "a|b"},
        {0, "Unknown LANGUAGE", "unknown|language"},
    };
    for (const Case& c : cases) {
        WordBreaker breaker(c.languageId);
        std::vector<std::string> words;
        breaker.split(c.text, words);
        EXPECT_EQ(joined(words), c.words) << c.text;
    }
}

// Texts of ASCII with some other characters, broken without ICU where they
// are ASCII, give the words ICU gives, in every language's rules (Swedish
// joins letters across ":", Turkish lower-cases I otherwise).
TEST(WordBreaker, AsciiShortcutBreaksAsIcu) {
    const std::string pieces[] = {"a", "Z",        "I",        "q",    "1",    "9",  "_",
                                  ".", ",",        ";",        ":",    "'",    "\"", "-",
                                  "/", " ",        " ",        "\t",   "\n",   "\r", "\xC3\xA9",
                                  "’", "\xCC\x81", "\xC2\xAD", "日本", "\xFF", "&"};
    std::uint32_t seed = 12345;
    const auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return seed >> 16;
    };
    for (unsigned languageId : {0x409u, 0x40cu, 0x41du, 0x40bu, 0x41fu, 0x411u, 0u}) {
        WordBreaker shortcut(languageId);
        WordBreaker icu(languageId, false);
        EXPECT_TRUE(shortcut.breaksAsciiItself()) << std::hex << languageId;
        for (int round = 0; round < 3000; ++round) {
            std::string text;
            const unsigned length = next() % 40;
            // Some texts in ASCII only, which the shortcut reads whole.
            const unsigned kinds = round % 3 == 0 ? 20 : std::size(pieces);
            for (unsigned i = 0; i < length; ++i) text += pieces[next() % kinds];
            std::vector<std::string> fast;
            std::vector<std::string> slow;
            shortcut.split(text, fast);
            icu.split(text, slow);
            ASSERT_EQ(joined(fast), joined(slow)) << std::hex << languageId << ": " << text;
        }
    }
}

}  // namespace
}  // namespace qv

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

}  // namespace
}  // namespace qv

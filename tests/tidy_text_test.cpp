#include "text/tidy_text.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(TidyText, TrimsFoldsAndKeepsInnerControls) {
    struct Case {
        std::string input;
        std::string expected;
    };
    const Case cases[] = {
        {"  Chapitre 1 :\n", "Chapitre 1"},
        {"a\t\tb", "a b"},
        {" ... \n", "..."},
        {" : :", ": :"},
        {"\xA0", ""},
        {"Voir aussi...", "Voir aussi"},
        {"Message.\r\n", "Message"},
        {":.a", ":.a"},
        {"a\rb", "a\rb"},
        {"a\xA0\xA0"
         "b",
         "a\xA0\xA0"
         "b"},
        {"a \n \t b", "a b"},
        {std::string("a\0b ", 4), std::string("a\0b", 3)},
        {"", ""},
    };
    for (const Case& c : cases) {
        std::string text = c.input;
        tidyText(text);
        EXPECT_EQ(text, c.expected) << "input: " << c.input;
    }
}

}  // namespace
}  // namespace qv

#include "xml/open_elements.h"

#include <gtest/gtest.h>

#include <string>

namespace qv {
namespace {

// "^" marks the offset asked about; the answer is written "name@offset ...".
TEST(OpenElementsAt, LooseMarkup) {
    struct Case {
        std::string markup;
        std::string open;
    };
    const Case cases[] = {
        {"<a><b>^</a>", "a@0 b@3"},
        {"<a><b/><c x='>' y=\"/>\">^", "a@0 c@7"},  // empty tag, ">" in values
        {"<!-- <p> --><a>^", "a@12"},               // comment
        {"<![CDATA[<p>]]><?pi <b> ?><!DOCTYPE x><a>^", "a@38"},
        {"<ul><li>un<li>deux</ul>^", ""},         // closes what it holds
        {"<p>texte</b>^", "p@0"},                 // end tag of nothing open
        {"<P>texte</p>^", "P@0"},                 // case counts, as for the parser
        {"<a>1 < 2 <3^", "a@0"},                  // "<" not starting a name
        {"<p class='x\n'\n  id=y>^", "p@0"},      // tag over several lines
        {"<p><br>^</p>", "p@0 br@3"},             // nothing is void by itself
        {"<a>^<b>", "a@0"},                       // what follows is not read
        {"<a><!-- sans fin <b>^", "a@0 <!--@3"},  // the comment is what is open
        {"<a><![CDATA[x^", "a@0 <![CDATA[@3"},
        {"<a><b>x</a^>", "a@0 b@3"},                         // the end tag the parser failed on
        {"<files><file n='x'></file^s>", "files@0 file@7"},  // a prefix of the name matched
    };
    for (const Case& c : cases) {
        std::string markup = c.markup;
        const std::size_t offset = markup.find('^');
        markup.erase(offset, 1);
        std::string open;
        for (const OpenElement& element : openElementsAt(markup, offset)) {
            if (!open.empty()) open += ' ';
            const char* kinds[] = {"", "<!--", "<![CDATA["};
            open += std::string(element.name) + kinds[static_cast<int>(element.kind)] + "@" +
                    std::to_string(element.offset);
        }
        EXPECT_EQ(open, c.open) << c.markup;
    }
}

}  // namespace
}  // namespace qv

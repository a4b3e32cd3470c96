#include "page/entities.h"

#include <gtest/gtest.h>

#include <string>

namespace qv {
namespace {

TEST(DecodeEntity, NamesToUtf8OrTheReferenceRebuilt) {
    const struct {
        std::string name;
        std::string expected;
    } cases[] = {
        {"eacute", "\xC3\xA9"},
        {"Eacute", "\xC3\x89"},
        {"nbsp", "\xC2\xA0"},
        {"euro", "\xC2\x80"},
        {"oelig", "\xC2\x9C"},
        {"Yuml", "\xC2\x9F"},
        {"mldr", "\xC2\x85"},  // later names of a shared code still decode
        {"Dot", "\xC2\xA8"},
        {"frac12", "\xC2\xBD"},
        {"sbsol", "\\"},
        {"semi", ";"},
        {"lowbar", "_"},
        {"EACUTE", "&EACUTE;"},
        {"lt", "&lt;"},
        {"amp", "&amp;"},
        {"#233", "&#233;"},
        {"abcdefghi", "&abcdefghi;"},
        {"", "&;"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(decodeEntity(c.name), c.expected) << "name: " << c.name;
    }
}

}  // namespace
}  // namespace qv

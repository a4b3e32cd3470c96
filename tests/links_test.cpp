#include "text/links.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(FollowLink, FromAPageOfTheList) {
    struct Case {
        const char* value;
        const char* target;  // "file#fragment", or "-" when not followed
    };
    const Case cases[] = {
        {"autre.html", "pages/autre.html"},
        {"../images/a.png", "images/a.png"},
        {"./sous/../b.html#x", "pages/b.html#x"},
        {"#haut", "#haut"},
        {"?q=1#bas", "#bas"},
        {"mon%20fichier.html#%C3%A9t%C3%A9", "pages/mon fichier.html#\xC3\xA9t\xC3\xA9"},
        {"sous\\c.html", "pages/sous/c.html"},
        {"../../hors.html", "../hors.html"},
        {"  d.html  ", "pages/d.html"},
        {"https://exemple.fr/a.html", "-"},
        {"mailto:a@b.fr", "-"},
        {"javascript:void(0)", "-"},
        {"data:image/png;base64,AAAA", "-"},
        {"ms-its:aide.chm::/a.html", "-"},
        {"/racine.html", "-"},
        {"C:\\aide\\a.html", "-"},
        {"", "-"},
    };
    for (const Case& c : cases) {
        const LinkTarget target = followLink("pages\\guide.html", c.value);
        std::string got = target.local ? target.file : "-";
        if (target.hasFragment) got += "#" + target.fragment;
        EXPECT_EQ(got, c.target) << c.value;
    }
}

}  // namespace
}  // namespace qv

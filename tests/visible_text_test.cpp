#include "text/visible_text.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(VisibleText, KeepsWhatAReaderSees) {
    struct Case {
        std::string html;
        std::string text;
        std::string title = "";
    };
    const Case cases[] = {
        // Inline tags join, other tags break.
        {"<p><b>é</b>quipe<br>x</p><div>y</div>", "\néquipe\nx\n\ny\n"},
        {"<html><head><title>T</title><style>p{}</style></head>b", "\n\n\n\n\n\n\nb", "T"},
        {"a<script>if (a<b) s='</p>';</script>b<!-- c -->d", "a\n\nbd"},
        {"a<SCRIPT type=x>x</script >b", "a\n\nb"},
        {"<!-->a<!--->b<!-- c --!>d<!-- e", "abd"},
        {"<!DOCTYPE html><![CDATA[x]]>y<?php z ?>", "y"},
        {"<template><p>t</p><template>u</template>v</template>w", "\nw"},
        {"<img title=\"<-\" alt='a>b'>c", "\nc"},
        {"a < b </> c", "a < b  c"},
        {"<textarea>a &amp; <b></textarea>", "\na & <b>\n"},
        {"<TITLE>R&eacute;f <b></title>x<title>2</title>", "\n\nx\n\n", "Réf <b>"},
        {"<xmp>&amp;<i></xmp>", "\n&amp;<i>\n"},
        {"caf&eacute; &#233;l&#xE8;ve &euro;&#128; &eacute &lt;", "café élève €€ é <"},
        {"R&D &rarr; &#0; &#; &#x110000;", "R&D   \xEF\xBF\xBD &#; \xEF\xBF\xBD"},
    };
    for (const Case& c : cases) {
        const PageText page = visibleText(c.html);
        EXPECT_EQ(page.text, c.text) << c.html;
        EXPECT_EQ(page.title, c.title) << c.html;
    }
}

}  // namespace
}  // namespace qv

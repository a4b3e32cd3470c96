#include "xml/print.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "temp_dir.h"

namespace qv {
namespace {

// A page that failed deep down prints to far more than its own size: the
// copy must come in pieces, each as TinyXML's own file output has it.
TEST(PrintDocument, GivesWhatSaveFileWritesInPieces) {
    std::string text;
    for (int i = 0; i < 200; ++i) text += "<a x=\"&amp;\">";
    for (int i = 0; i < 3000; ++i) text += "<b>t\xC3\xA9</b><!-- c -->";
    TiXmlDocument document;
    document.Parse(text.c_str(), nullptr, TIXML_ENCODING_UTF8);
    ASSERT_TRUE(document.Error());  // the elements are never closed

    testing_support::TempDir dir;
    ASSERT_TRUE(document.SaveFile(dir.file("saved.xml").c_str()));
    const std::string saved = dir.read("saved.xml");
    ASSERT_GT(saved.size(), 4'000'000u);

    std::string printed;
    std::size_t largestPiece = 0;
    printDocument(document, [&](std::string_view piece) {
        printed.append(piece);
        largestPiece = std::max(largestPiece, piece.size());
    });
    EXPECT_TRUE(printed == saved);
    EXPECT_LE(largestPiece, 65536u);
}

}  // namespace
}  // namespace qv

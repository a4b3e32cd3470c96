#include "io/text_stream.h"

#include <gtest/gtest.h>

#include "temp_dir.h"
#include "text/encoders.h"

namespace qv {
namespace {

TEST(TextStream, EveryLineFeedBecomesCrLf) {
    const std::pair<std::string, std::string> cases[] = {
        {"a\nb", "a\r\nb"}, {"\n\n", "\r\n\r\n"}, {"a\rb", "a\rb"}, {"\r\n", "\r\r\n"}, {"", ""}};
    for (const auto& [written, stored] : cases) {
        StringTextStream out;
        out << std::string_view(written);
        EXPECT_EQ(out.str(), stored);
    }
    testing_support::TempDir dir;
    FileTextStream file;
    ASSERT_EQ(file.open(dir.file("a.hhp")), 0);
    file << "[OPTIONS]\n" << 42 << "\r\n";
    ASSERT_EQ(file.close(), 0);
    EXPECT_EQ(dir.read("a.hhp"), "[OPTIONS]\r\n42\r\r\n");
}

TEST(TextStream, LineEndsSurviveTheBufferBeingHandedOnInPieces) {
    // Pieces of every size up to past the buffer, some ending in a line
    // feed, some encoded, so that line feeds fall on each side of a flush.
    std::string written, stored;
    StringTextStream out;
    for (int i = 0; i < 3000; ++i) {
        std::string piece(static_cast<std::size_t>(i * 37 % 200), static_cast<char>('a' + i % 26));
        if (i % 3 == 0) piece += '\n';
        if (i % 7 == 0) piece = "\r\n" + piece;
        if (i % 5 == 0) {
            out.encoded(appendUtf8Html, piece);
        } else {
            out << std::string_view(piece);
        }
        if (i % 5 == 0) {
            appendUtf8Html(written, piece);
        } else {
            written += piece;
        }
    }
    for (char c : written) {
        if (c == '\n') stored += '\r';
        stored += c;
    }
    ASSERT_GT(written.size(), 3u << 16);
    EXPECT_EQ(out.str(), stored);
}

TEST(TextStream, AFileThatCannotBeCreatedFailsAtClose) {
    testing_support::TempDir dir;
    FileTextStream file;
    EXPECT_EQ(file.open(dir.file("nowhere/a.hhc")), 3);
    file << "lost\n";
    EXPECT_EQ(file.close(), 3);
}

}  // namespace
}  // namespace qv

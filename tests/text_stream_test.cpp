#include "driver/text_stream.h"

#include <gtest/gtest.h>

#include "temp_dir.h"

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

TEST(TextStream, AFileThatCannotBeCreatedFailsAtClose) {
    testing_support::TempDir dir;
    FileTextStream file;
    EXPECT_EQ(file.open(dir.file("nowhere/a.hhc")), 3);
    file << "lost\n";
    EXPECT_EQ(file.close(), 3);
}

}  // namespace
}  // namespace qv

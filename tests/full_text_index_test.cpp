#include "chm/full_text_index.h"

#include <gtest/gtest.h>

#include "chm/scale_root.h"

namespace qv {
namespace {

std::string bitString(const std::string& bytes) {
    std::string bits;
    for (char byte : bytes) {
        for (int i = 7; i >= 0; --i)
            bits += ((static_cast<unsigned char>(byte) >> i) & 1) ? '1' : '0';
    }
    return bits;
}

std::string hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (char byte : bytes) {
        text += digits[static_cast<unsigned char>(byte) >> 4];
        text += digits[byte & 0x0F];
    }
    return text;
}

TEST(FullTextIndex, ScaleAndRootCode) {
    struct Case {
        std::uint64_t value;
        unsigned root;
        std::string bits;  // then zeros to the byte
    };
    const Case cases[] = {
        {0, 1, "00"},
        {1, 1, "01"},
        {2, 1, "100"},
        {3, 1, "101"},
        {4, 1, "11000"},
        {7, 1, "11011"},
        {10, 4, "01010"},
        {15, 4, "01111"},
        {16, 4, "100000"},
        {40, 4, "11001000"},
        {0, 0, "0"},
        {1, 0, "10"},
        {300, 2, "1111111000101100"},
    };
    for (const Case& c : cases) {
        BitWriter writer;
        writer.writeScaleRoot(c.value, c.root);
        const std::string bits = bitString(writer.bytes());
        EXPECT_EQ(bits.substr(0, c.bits.size()), c.bits) << c.value << " root " << c.root;
        EXPECT_EQ(bits.find('1', c.bits.size()), std::string::npos) << c.value;
        EXPECT_EQ(scaleRootBits(c.value, c.root), c.bits.size()) << c.value;
    }
    // Values follow each other across bytes; a document starts on a byte.
    BitWriter writer;
    for (std::uint64_t value : {3, 7, 0}) writer.writeScaleRoot(value, 1);
    writer.padToByte();
    writer.writeScaleRoot(1, 1);
    EXPECT_EQ(bitString(writer.bytes()),
              "10111011"
              "00000000"
              "01000000");
}

TEST(FullTextIndex, EncInt) {
    const std::pair<std::uint64_t, std::string> cases[] = {
        {0, "00"}, {127, "7f"}, {128, "8001"}, {300, "ac02"}, {16384, "808001"}};
    for (const auto& [value, bytes] : cases) {
        std::string out;
        appendEncIntLowFirst(out, value);
        EXPECT_EQ(hex(out), bytes) << value;
    }
}

// One topic whose title is also its text: the body list of "été" (which
// holds the title's words first), then its title list, in one leaf, each
// word in UTF-8 then in code page 1252 with the same list.
TEST(FullTextIndex, OneLeafGolden) {
    const std::string file =
        buildFullTextIndex({{0, "Été", "<html><head><title>Été</title></head><p>été</p>"}}, 0x40c);
    ASSERT_EQ(file.size(), 0x403u + 0x1000u);
    // Header: root and leaf at 0x403, one leaf, depth 1, roots 1, 1, 1.
    EXPECT_EQ(hex(file.substr(0, 0x24)),
              "00002800"
              "01000000"
              "03040000"
              "00000000"
              "01000000"
              "03040000"
              "0100"
              "07000000"
              "020102010201");
    EXPECT_EQ(hex(file.substr(0x2E, 4)), "00100000");
    // Longest word, occurrences, entries, their bytes, the leaf's free space,
    // the last topic; the code page (1252) and the language.
    EXPECT_EQ(hex(file.substr(0x3E, 0x24)),
              "05000000"
              "06000000"
              "04000000"
              "18000000"
              "00000000"
              "10000000"
              "c40f0000"
              "00000000"
              "00000000");
    EXPECT_EQ(hex(file.substr(0x7A, 8)), "e40400000c040000");
    // Body: topic 0, 2 places, 0 and +1; title: topic 0, 1 place, 0.
    EXPECT_EQ(bitString(file.substr(0x400, 3)),
              "00100000"
              "10000000"
              "00010000");
    EXPECT_EQ(hex(file.substr(0x403, 8 + 16 + 11 + 14 + 11)),
              "00000000"
              "0000"
              "c40f"
              "0600c3a974c3a9"
              "00"
              "01"
              "00040000"
              "0000"
              "02"
              "0105"
              "01"
              "01"
              "02040000"
              "0000"
              "01"
              "0400e974e9"
              "00"
              "01"
              "00040000"
              "0000"
              "02"
              "0103"
              "01"
              "01"
              "02040000"
              "0000"
              "01");
}

// Topics in any order; one given in two parts is one text, its title once.
TEST(FullTextIndex, TopicsSortedAndPartsJoined) {
    EXPECT_EQ(buildFullTextIndex({{5, "B", "b"}, {2, "A", "a"}, {5, "C", "a"}}, 0x409),
              buildFullTextIndex({{2, "A", "a"}, {5, "B", "b a"}}, 0x409));
}

TEST(FullTextIndex, NoWordsGivesAnEmptyLeaf) {
    const std::string file = buildFullTextIndex({{3, "", "<p> </p>"}}, 0x409);
    ASSERT_EQ(file.size(), 0x400u + 0x1000u);
    EXPECT_EQ(hex(file.substr(0x400, 8)),
              "00000000"
              "0000"
              "f80f");
}

}  // namespace
}  // namespace qv

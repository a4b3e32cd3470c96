#include "chm/lzx_encoder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numeric>

#include "chm/huffman_code.h"
#include "lzx_decoders.h"

namespace qv {
namespace {

using testing_support::chmlibLzxDecompress;
using testing_support::lzxDecompress;

constexpr std::size_t kFrame = 32768;

std::string randomBytes(std::size_t size, std::uint32_t seed) {
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        seed = seed * 1664525u + 1013904223u;
        c = static_cast<char>(seed >> 24);
    }
    return bytes;
}

// Page-like text: a few hundred words drawn in a repeatable order, in markup.
std::string text(std::size_t size) {
    static const char* const words[] = {"<p>",       "the ",      "page ", "é",
                                        "index ",    "</p>\n",    "of ",   "<a href=\"x.html\">",
                                        "link</a> ", "contents ", "42 "};
    std::string out;
    std::uint32_t seed = 7;
    while (out.size() < size) {
        seed = seed * 1664525u + 1013904223u;
        out += words[(seed >> 16) % std::size(words)];
    }
    out.resize(size);
    return out;
}

// Records whose fields repeat at two alternating distances: R0-R2 at work.
std::string repeatedOffsets(std::size_t size) {
    std::string out;
    for (unsigned i = 0; out.size() < size; ++i) {
        out += "<tr><td>" + std::to_string(i % 97) + "</td><td>" + std::to_string(i * 7 % 13) +
               "</td></tr>";
    }
    out.resize(size);
    return out;
}

struct Input {
    const char* name;
    std::string bytes;
};

std::vector<Input> inputs() {
    std::string several = text(100000) + randomBytes(50000, 3) + repeatedOffsets(120000);
    return {
        {"empty", ""},
        {"one byte", "x"},
        {"text", text(20000)},
        {"repetitive text", std::string(300, 'a') + std::string(5000, 'b') + text(1000)},
        {"random bytes", randomBytes(70001, 1)},
        {"exactly one frame", text(kFrame)},
        {"one frame and a byte", text(kFrame + 1)},
        {"several reset intervals", several},
        {"long run", std::string(100000, '\0')},
        {"repeated offsets", repeatedOffsets(90000)},
    };
}

TEST(CompressLzx, RoundTripsThroughLibmspack) {
    const LzxSettings settings[] = {{15, 1, 1}, {15, 4, 3}, {16, 2, 3},
                                    {17, 4, 3}, {19, 3, 1}, {21, 8, 3}};
    for (const Input& input : inputs()) {
        for (const LzxSettings& s : settings) {
            SCOPED_TRACE(::testing::Message()
                         << input.name << " window " << s.windowBits << " reset " << s.resetFrames);
            const LzxOutput out = compressLzx(input.bytes, s);
            const std::size_t frames =
                std::max<std::size_t>(1, (input.bytes.size() + kFrame - 1) / kFrame);
            ASSERT_EQ(out.frameOffsets.size(), frames);
            EXPECT_EQ(out.frameOffsets[0], 0u);
            EXPECT_TRUE(lzxDecompress(out.bytes, s.windowBits, s.resetFrames, input.bytes.size()) ==
                        input.bytes);
            // A reader starts at any reset point with a fresh decoder.
            for (std::size_t frame = s.resetFrames; frame < frames; frame += s.resetFrames) {
                const std::uint64_t at = out.frameOffsets[frame];
                EXPECT_TRUE(lzxDecompress(std::string_view(out.bytes).substr(at), s.windowBits,
                                          s.resetFrames, input.bytes.size() - frame * kFrame) ==
                            input.bytes.substr(frame * kFrame))
                    << "from frame " << frame;
            }
            LzxSettings oneThread = s;
            oneThread.threads = 1;
            EXPECT_TRUE(compressLzx(input.bytes, oneThread).bytes == out.bytes);
        }
    }
}

TEST(CompressLzx, SizeFollowsTheData) {
    const LzxSettings settings;
    // Random bytes go into stored blocks: little more than their own size.
    const std::string random = randomBytes(100000, 9);
    EXPECT_LE(compressLzx(random, settings).bytes.size(), random.size() + 100);
    EXPECT_LT(compressLzx(text(100000), settings).bytes.size(), 100000u / 3);
    EXPECT_LT(compressLzx(std::string(100000, 'a'), settings).bytes.size(), 400u);
}

TEST(HuffmanLengths, LimitedAndComplete) {
    std::vector<std::uint32_t> fibonacci = {1, 1};
    while (fibonacci.size() < 40) fibonacci.push_back(fibonacci.end()[-1] + fibonacci.end()[-2]);
    const struct {
        std::vector<std::uint32_t> frequencies;
        unsigned maxBits;
    } cases[] = {
        {fibonacci, 16}, {fibonacci, 7}, {{0, 0, 5, 0}, 16}, {{0, 0, 0}, 16}, {{8, 4, 2, 1, 1}, 3},
    };
    for (const auto& c : cases) {
        const std::vector<std::uint8_t> lengths = huffmanLengths(c.frequencies, c.maxBits);
        double kraft = 0;
        for (std::size_t s = 0; s < lengths.size(); ++s) {
            EXPECT_LE(lengths[s], c.maxBits);
            if (c.frequencies[s] > 0) {
                EXPECT_GT(lengths[s], 0);
            }
            if (lengths[s] > 0) kraft += std::ldexp(1.0, -lengths[s]);
        }
        EXPECT_EQ(kraft, 1.0) << "maxBits " << c.maxBits;
    }
}

}  // namespace
}  // namespace qv

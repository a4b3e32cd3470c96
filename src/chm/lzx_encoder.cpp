// Stand-in encoder: every 32 KiB frame is one uncompressed LZX block. The
// stream is valid LZX that any decoder reads back; the real encoder, with
// matches and Huffman-coded blocks, replaces this file.
#include "chm/lzx_encoder.h"

#include <algorithm>

namespace qv {

namespace {

constexpr std::size_t kFrameSize = 0x8000;
constexpr unsigned kUncompressedBlock = 3;

// LZX reads its input as 16-bit little-endian words, most significant bit
// first within each word.
class BitWriter {
public:
    explicit BitWriter(std::string& out) : out_(out) {}
    void put(std::uint32_t value, unsigned count) {
        for (unsigned i = count; i-- > 0;) {
            word_ = static_cast<std::uint16_t>((word_ << 1) | ((value >> i) & 1));
            if (++used_ == 16) flushWord();
        }
    }
    // Pads with zero bits to the next word boundary: 1 to 16 bits, as the
    // header of an uncompressed block requires.
    void padToWord() { put(0, 16 - used_); }

private:
    void flushWord() {
        out_.push_back(static_cast<char>(word_ & 0xFF));
        out_.push_back(static_cast<char>(word_ >> 8));
        word_ = 0;
        used_ = 0;
    }
    std::string& out_;
    std::uint16_t word_ = 0;
    unsigned used_ = 0;
};

void putLittleEndian32(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// One frame as one uncompressed block; firstOfInterval: the decoder's state
// was just reset, so the stream starts again with the translation flag.
void writeFrame(std::string& out, std::string_view frame, bool firstOfInterval) {
    BitWriter bits(out);
    if (firstOfInterval) bits.put(0, 1);  // no E8 call translation
    bits.put(kUncompressedBlock, 3);
    bits.put(static_cast<std::uint32_t>(frame.size()), 24);
    bits.padToWord();
    for (int r = 0; r < 3; ++r) putLittleEndian32(out, 1);  // the repeated offsets R0-R2
    out.append(frame.data(), frame.size());
    if (frame.size() % 2 != 0) out.push_back('\0');
}

}  // namespace

LzxOutput compressLzx(std::string_view data, const LzxSettings& settings) {
    LzxOutput output;
    const unsigned resetFrames = std::max(1u, settings.resetFrames);
    for (std::size_t start = 0, frame = 0; start < data.size(); start += kFrameSize, ++frame) {
        output.frameOffsets.push_back(output.bytes.size());
        const std::string_view bytes = data.substr(start, kFrameSize);
        writeFrame(output.bytes, bytes, frame % resetFrames == 0);
    }
    if (output.frameOffsets.empty()) output.frameOffsets.push_back(0);
    return output;
}

}  // namespace qv

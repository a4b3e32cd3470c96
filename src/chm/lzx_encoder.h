#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>
namespace qv {
struct LzxSettings {
    unsigned windowBits = 16;  // 15 to 21: the window is 1 << windowBits bytes
    unsigned resetFrames =
        2;                 // 32 KiB frames between two resets of the encoder's state, at least 1
    unsigned threads = 1;  // reset intervals are independent: compressed on up to this many threads
};
struct LzxOutput {
    std::string bytes;  // the compressed stream
    std::vector<std::uint64_t>
        frameOffsets;  // where each 32 KiB frame of the input starts in bytes; [0] is 0
};
// The bytes do not depend on settings.threads.
LzxOutput compressLzx(std::string_view data, const LzxSettings& settings);
}  // namespace qv

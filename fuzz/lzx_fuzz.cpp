// Any bytes through the LZX encoder and back through libmspack's decoder,
// and chmlib's frame by frame.
// The first byte picks the window (15 to 21 bits), the reset interval (1 to
// 3 frames) and how many copies of the rest make the input, each copy with
// its first byte changed: so that short inputs still span several frames
// and reset intervals. The bytes must come back, and must not depend on
// the number of threads.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "chm/lzx_encoder.h"
#include "lzx_decoders.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    qv::LzxSettings settings;
    settings.windowBits = 15 + data[0] % 7;
    settings.resetFrames = 1 + data[0] / 7 % 3;
    const unsigned copies = 1 + data[0] / 21;
    const std::string tail(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::string input;
    for (unsigned copy = 0; copy < copies && !tail.empty(); ++copy) {
        input += tail;
        input[input.size() - tail.size()] = static_cast<char>(tail[0] + copy);
    }

    settings.threads = 1;
    const qv::LzxOutput one = qv::compressLzx(input, settings);
    if (qv::testing_support::lzxDecompress(one.bytes, settings.windowBits, settings.resetFrames,
                                           input.size()) != input ||
        qv::testing_support::chmlibLzxDecompress(one.bytes, one.frameOffsets, settings.windowBits,
                                                 settings.resetFrames, input.size()) != input) {
        std::abort();
    }
    settings.threads = 3;
    if (qv::compressLzx(input, settings).bytes != one.bytes) std::abort();
    return 0;
}

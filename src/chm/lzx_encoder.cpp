#include "chm/lzx_encoder.h"

#include <algorithm>
#include <atomic>
#include <memory>

#include "chm/lzx_bit_writer.h"
#include "chm/lzx_block_writer.h"
#include "chm/lzx_parser.h"
#include "platform/threads.h"

namespace qv {

namespace {

// One reset interval compressed on its own, as a reader starting at its
// reset point decodes it.
struct IntervalOutput {
    std::string bytes;
    std::vector<std::uint64_t> frameOffsets;  // from the start of bytes
};

// What one thread keeps from interval to interval.
class IntervalEncoder {
public:
    explicit IntervalEncoder(unsigned windowBits)
        : parser_(windowBits), positionSlots_(lzxPositionSlots(windowBits)) {}

    IntervalOutput encode(std::string_view interval) {
        IntervalOutput output;
        LzxBitWriter out(output.bytes);
        out.put(0, 1);  // no E8 call translation: the header holds no file size
        parser_.startInterval(reinterpret_cast<const std::uint8_t*>(interval.data()),
                              interval.size());
        LzxTreeLengths previous;
        LzxCosts costs = LzxCosts::defaults();
        for (std::size_t begin = 0; begin < interval.size(); begin += kLzxFrameSize) {
            const std::size_t end = std::min(interval.size(), begin + kLzxFrameSize);
            output.frameOffsets.push_back(out.size());
            items_.clear();
            parser_.parseFrame(begin, end, costs, items_);
            // One block per frame: blocks never straddle the word alignment
            // at a frame's end, which the older readers handle frame by frame.
            // Only the last frame can be odd in length, so the byte that pads
            // an odd stored block (which chmlib skips as the next block
            // starts) never opens another frame's bytes.
            const LzxBlockType type =
                writeLzxBlock(out, items_, interval.substr(begin, end - begin), positionSlots_,
                              parser_.repeatedOffsets(), previous);
            if (type != LzxBlockType::Uncompressed) {
                costs = LzxCosts::fromBlock(previous.main.data(), previous.length.data(),
                                            kLzxLiterals + 8 * positionSlots_, items_);
            }
            out.alignToWord();
        }
        return output;
    }

private:
    LzxParser parser_;
    unsigned positionSlots_;
    std::vector<LzxItem> items_;
};

// Compresses every interval, taking them in turn from a shared counter on
// up to `threads` threads; each result lands in its own place.
std::vector<IntervalOutput> encodeIntervals(std::string_view data, std::size_t intervalSize,
                                            const LzxSettings& settings) {
    const std::size_t count = (data.size() + intervalSize - 1) / intervalSize;
    std::vector<IntervalOutput> outputs(count);
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        IntervalEncoder encoder(settings.windowBits);
        for (std::size_t i = next++; i < count; i = next++) {
            outputs[i] = encoder.encode(data.substr(i * intervalSize, intervalSize));
        }
    };
    const std::size_t helpers = std::min<std::size_t>(std::max(settings.threads, 1u), count);
    std::vector<std::unique_ptr<LargeStackThread>> threads;
    for (std::size_t i = 1; i < helpers; ++i) {
        auto thread = std::make_unique<LargeStackThread>();
        // A thread that cannot start leaves its share to the others.
        if (thread->start(work)) threads.push_back(std::move(thread));
    }
    work();
    for (auto& thread : threads) thread->join();
    return outputs;
}

}  // namespace

LzxOutput compressLzx(std::string_view data, const LzxSettings& settings) {
    LzxOutput output;
    LzxSettings checked = settings;
    checked.windowBits = std::clamp(settings.windowBits, 15u, 21u);
    const unsigned resetFrames = std::max(settings.resetFrames, 1u);
    const std::size_t intervalSize = std::size_t{resetFrames} * kLzxFrameSize;
    const std::vector<IntervalOutput> intervals = encodeIntervals(data, intervalSize, checked);
    std::size_t total = 0;
    for (const IntervalOutput& interval : intervals) total += interval.bytes.size();
    output.bytes.reserve(total);
    for (const IntervalOutput& interval : intervals) {
        for (std::uint64_t offset : interval.frameOffsets) {
            output.frameOffsets.push_back(output.bytes.size() + offset);
        }
        output.bytes += interval.bytes;
    }
    // Nothing follows the last frame's word alignment: 7-Zip refuses a frame
    // whose bytes it does not use up.
    if (output.frameOffsets.empty()) output.frameOffsets.push_back(0);
    return output;
}

}  // namespace qv

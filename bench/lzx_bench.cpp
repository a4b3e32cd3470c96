// The LZX encoder's size and speed on one input, at 1 and 2 threads:
//   qv_lzx_bench [--repeat N] [--window BITS] [--reset FRAMES] [--other BYTES] FILE...
// The input is the files concatenated in the given order, as a content
// section holds them; --other gives another compressor's size of the same
// input, for the ratio. Every result is decoded back with libmspack and
// compared.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "chm/lzx_encoder.h"
#include "lzx_decoders.h"

namespace {

std::string readFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", path);
        std::exit(2);
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

int usage() {
    std::fprintf(stderr,
                 "usage: qv_lzx_bench [--repeat N] [--window BITS] [--reset FRAMES] "
                 "[--other BYTES] FILE...\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    int repeat = 3;
    qv::LzxSettings settings;
    std::string input;
    std::size_t otherSize = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--repeat" && i + 1 < argc) {
            repeat = std::atoi(argv[++i]);
        } else if (arg == "--window" && i + 1 < argc) {
            settings.windowBits = static_cast<unsigned>(std::atoi(argv[++i]));
        } else if (arg == "--reset" && i + 1 < argc) {
            settings.resetFrames = static_cast<unsigned>(std::atoi(argv[++i]));
        } else if (arg == "--other" && i + 1 < argc) {
            otherSize = static_cast<std::size_t>(std::atoll(argv[++i]));
        } else if (arg.rfind("--", 0) == 0) {
            return usage();
        } else {
            input += readFile(argv[i]);
        }
    }
    if (input.empty()) return usage();

    std::printf("input %zu bytes, window %u bits, reset every %u frames\n", input.size(),
                settings.windowBits, settings.resetFrames);
    if (otherSize > 0) std::printf("other compressor: %zu bytes\n", otherSize);
    for (unsigned threads : {1u, 2u}) {
        settings.threads = threads;
        // Wall time, and the CPU time of the whole process, which a shared
        // machine's load disturbs less.
        double best = 1e30;
        double bestCpu = 1e30;
        qv::LzxOutput out;
        for (int r = 0; r < repeat; ++r) {
            const auto start = std::chrono::steady_clock::now();
            const std::clock_t cpuStart = std::clock();
            out = qv::compressLzx(input, settings);
            const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
            best = std::min(best, took.count());
            bestCpu = std::min(bestCpu, double(std::clock() - cpuStart) / CLOCKS_PER_SEC);
        }
        const bool same =
            qv::testing_support::lzxDecompress(out.bytes, settings.windowBits, settings.resetFrames,
                                               input.size()) == input;
        std::printf("threads %u: %zu bytes (%.2f%% of input", threads, out.bytes.size(),
                    100.0 * out.bytes.size() / input.size());
        if (otherSize > 0) std::printf(", %.3f x other", double(out.bytes.size()) / otherSize);
        std::printf(
            "), best of %d: wall %.0f ms (%.1f MB/s), cpu %.0f ms (%.1f MB/s), round trip %s\n",
            repeat, best * 1e3, input.size() / best / 1e6, bestCpu * 1e3,
            input.size() / bestCpu / 1e6, same ? "equal" : "DIFFERENT");
        if (!same) return 1;
    }
    return 0;
}

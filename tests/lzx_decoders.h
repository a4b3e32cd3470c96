#pragma once
// Two LZX decoders nobody here wrote, run over memory: the oracles of the
// encoder's round trips. libmspack's (the static library) reads the stream
// in one go; chmlib's (its shared library) reads it frame by frame, from
// the offsets of the frames, as a CHM reader does.

#include <mspack.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

extern "C" {
// The decoder's own entry points, which mspack.h does not declare.
struct lzxd_stream;
lzxd_stream* lzxd_init(mspack_system* system, mspack_file* input, mspack_file* output,
                       int window_bits, int reset_interval, int input_buffer_size,
                       off_t output_length, char is_delta);
int lzxd_decompress(lzxd_stream* lzx, off_t out_bytes);
void lzxd_free(lzxd_stream* lzx);

// chmlib's decoder: window in bits; 0 is success.
struct LZXstate;
LZXstate* LZXinit(int window);
void LZXteardown(LZXstate* state);
int LZXreset(LZXstate* state);
int LZXdecompress(LZXstate* state, unsigned char* in, unsigned char* out, int inLength,
                  int outLength);
}

namespace qv::testing_support {

namespace mspack_memory {

// The decoder reads and writes through mspack_file pointers, which are
// these in disguise.
struct Input {
    std::string_view bytes;
    std::size_t position = 0;
};

inline int read(mspack_file* file, void* buffer, int bytes) {
    auto* input = reinterpret_cast<Input*>(file);
    const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(bytes),
                                                    input->bytes.size() - input->position);
    std::memcpy(buffer, input->bytes.data() + input->position, count);
    input->position += count;
    return static_cast<int>(count);
}

inline int write(mspack_file* file, void* buffer, int bytes) {
    reinterpret_cast<std::string*>(file)->append(static_cast<const char*>(buffer),
                                                 static_cast<std::size_t>(bytes));
    return bytes;
}

inline void* alloc(mspack_system*, std::size_t bytes) { return std::malloc(bytes); }
inline void release(void* pointer) { std::free(pointer); }
inline void copy(void* from, void* to, std::size_t bytes) { std::memmove(to, from, bytes); }
inline void message(mspack_file*, const char*, ...) {}

}  // namespace mspack_memory

// The decompressed bytes of an LZX stream whose output is outputSize bytes
// long, as a CHM reader decodes it from a reset point; nothing when libmspack
// refuses the stream.
inline std::optional<std::string> lzxDecompress(std::string_view compressed, unsigned windowBits,
                                                unsigned resetFrames, std::size_t outputSize) {
    mspack_system system{};
    system.read = mspack_memory::read;
    system.write = mspack_memory::write;
    system.alloc = mspack_memory::alloc;
    system.free = mspack_memory::release;
    system.copy = mspack_memory::copy;
    system.message = mspack_memory::message;
    // Asked for all of a stream that ends at a reset point, the decoder goes
    // on to read the next interval's header and to align after it: a spare
    // word keeps it within its input (a CHM reader asks for one file's bytes).
    const std::string spared = std::string(compressed) + std::string(2, '\0');
    mspack_memory::Input input{spared};
    std::string output;
    lzxd_stream* lzx =
        lzxd_init(&system, reinterpret_cast<mspack_file*>(&input),
                  reinterpret_cast<mspack_file*>(&output), static_cast<int>(windowBits),
                  static_cast<int>(resetFrames), 4096, static_cast<off_t>(outputSize), 0);
    if (lzx == nullptr) return std::nullopt;
    const int status = lzxd_decompress(lzx, static_cast<off_t>(outputSize));
    lzxd_free(lzx);
    if (status != MSPACK_ERR_OK) return std::nullopt;
    return output;
}

// The same with chmlib, frame by frame: each frame from its own bytes (up to
// the next frame's offset), the decoder reset at each reset point.
inline std::optional<std::string> chmlibLzxDecompress(
    std::string_view compressed, const std::vector<std::uint64_t>& frameOffsets,
    unsigned windowBits, unsigned resetFrames, std::size_t outputSize) {
    constexpr std::size_t kFrame = 32768;
    LZXstate* state = LZXinit(static_cast<int>(windowBits));
    if (state == nullptr) return std::nullopt;
    std::string output;
    bool ok = true;
    for (std::size_t frame = 0; ok && frame * kFrame < outputSize; ++frame) {
        if (frame % resetFrames == 0) LZXreset(state);
        const std::uint64_t begin = frameOffsets[frame];
        const std::uint64_t end =
            frame + 1 < frameOffsets.size() ? frameOffsets[frame + 1] : compressed.size();
        // The decoder may look a little past the frame's end, as the readers allow.
        std::string in(compressed.substr(begin, end - begin));
        in.append(64, '\0');
        std::string out(std::min(kFrame, outputSize - frame * kFrame), '\0');
        ok = LZXdecompress(state, reinterpret_cast<unsigned char*>(in.data()),
                           reinterpret_cast<unsigned char*>(out.data()),
                           static_cast<int>(end - begin), static_cast<int>(out.size())) == 0;
        output += out;
    }
    LZXteardown(state);
    if (!ok) return std::nullopt;
    return output;
}

}  // namespace qv::testing_support

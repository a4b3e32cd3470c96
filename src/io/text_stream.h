#pragma once
#include <cstring>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace qv {

// A text output stream as the writers see it: each line feed written is
// stored as CR LF. Output is buffered and handed on in large pieces.
class TextStream {
public:
    TextStream() : buffer_(kCapacity, '\0') {}
    virtual ~TextStream() = default;

    // Writing only copies into the buffer: line feeds become CR LF when the
    // buffer is handed on, in one pass over it.
    TextStream& operator<<(std::string_view text) {
        if (text.size() > kCapacity - used_) return appendLarge(text);
        std::memcpy(buffer_.data() + used_, text.data(), text.size());
        used_ += text.size();
        if (used_ >= kBufferLimit) flushBuffer();
        return *this;
    }
    TextStream& operator<<(char c) { return *this << std::string_view(&c, 1); }
    TextStream& operator<<(int number);

    // Writes text through an encoder that appends to a string (appendEntities,
    // appendUtf8Html); the encoded text goes through a string kept for that.
    TextStream& encoded(void (*encoder)(std::string&, std::string_view), std::string_view text) {
        encoded_.clear();
        encoder(encoded_, text);
        return *this << std::string_view(encoded_);
    }

protected:
    // Hands the buffered bytes on; called when the buffer is full and on close.
    void flushBuffer();
    virtual void writeRaw(const char* data, std::size_t size) = 0;

private:
    TextStream& appendLarge(std::string_view text);

    static constexpr std::size_t kBufferLimit = 1 << 16;
    static constexpr std::size_t kCapacity = kBufferLimit + kBufferLimit / 4;
    std::string buffer_;  // kCapacity bytes, of which used_ are written
    std::size_t used_ = 0;
    std::string lineEnds_;  // the buffer with CR LF line ends, as handed on
    std::string encoded_;
};

// Collects the stream's bytes in memory.
class StringTextStream : public TextStream {
public:
    const std::string& str() {
        flushBuffer();
        return text_;
    }

private:
    void writeRaw(const char* data, std::size_t size) override { text_.append(data, size); }
    std::string text_;
};

// An output file, created or replaced only when close() succeeds.
class FileTextStream : public TextStream {
public:
    // The status of creating the file; nothing is written when it is not 0.
    int open(const std::string& path);
    // Writes what is buffered and puts the file in place; the first failure
    // of the file's whole life, or 0.
    int close();

private:
    void writeRaw(const char* data, std::size_t size) override;
    AtomicFile file_;
    int status_ = 0;
};

}  // namespace qv

#pragma once
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace qv {

// A text output stream as the writers see it: each line feed written is
// stored as CR LF. Output is buffered and handed on in large pieces.
class TextStream {
public:
    TextStream() { buffer_.reserve(kBufferLimit + kBufferLimit / 4); }
    virtual ~TextStream() = default;

    // Writing only appends to the buffer: line feeds become CR LF when the
    // buffer is handed on, in one pass over it.
    TextStream& operator<<(std::string_view text) {
        buffer_.append(text.data(), text.size());
        if (buffer_.size() >= kBufferLimit) flushBuffer();
        return *this;
    }
    TextStream& operator<<(char c) {
        buffer_.push_back(c);
        if (buffer_.size() >= kBufferLimit) flushBuffer();
        return *this;
    }
    TextStream& operator<<(int number);

    // Writes text through an encoder that appends to a string (appendEntities,
    // appendUtf8Html), without a string of its own for the result.
    TextStream& encoded(void (*encoder)(std::string&, std::string_view), std::string_view text) {
        encoder(buffer_, text);
        if (buffer_.size() >= kBufferLimit) flushBuffer();
        return *this;
    }

protected:
    // Hands the buffered bytes on; called when the buffer is full and on close.
    void flushBuffer();
    virtual void writeRaw(const char* data, std::size_t size) = 0;

private:
    static constexpr std::size_t kBufferLimit = 1 << 16;
    std::string buffer_;
    std::string lineEnds_;  // the buffer with CR LF line ends, as handed on
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

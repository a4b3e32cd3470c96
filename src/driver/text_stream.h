#pragma once
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace qv {

// A text output stream as the writers see it: each line feed written is
// stored as CR LF. Output is buffered and handed on in large pieces.
class TextStream {
public:
    virtual ~TextStream() = default;

    TextStream& operator<<(std::string_view text);
    TextStream& operator<<(char c);
    TextStream& operator<<(int number);

protected:
    // Hands the buffered bytes on; called when the buffer is full and on close.
    void flushBuffer();
    virtual void writeRaw(const char* data, std::size_t size) = 0;

private:
    std::string buffer_;
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

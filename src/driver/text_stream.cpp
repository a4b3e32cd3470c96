#include "driver/text_stream.h"

#include <cstring>

namespace qv {

namespace {
constexpr std::size_t kBufferLimit = 1 << 16;
}

TextStream& TextStream::operator<<(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size()) {
        const void* found = std::memchr(text.data() + start, '\n', text.size() - start);
        if (found == nullptr) {
            buffer_.append(text.data() + start, text.size() - start);
            break;
        }
        std::size_t lineFeed = static_cast<const char*>(found) - text.data();
        buffer_.append(text.data() + start, lineFeed - start);
        buffer_.append("\r\n", 2);
        start = lineFeed + 1;
    }
    if (buffer_.size() >= kBufferLimit) flushBuffer();
    return *this;
}

TextStream& TextStream::operator<<(char c) {
    return *this << std::string_view(&c, 1);
}

TextStream& TextStream::operator<<(int number) {
    return *this << std::string_view(std::to_string(number));
}

void TextStream::flushBuffer() {
    if (buffer_.empty()) return;
    writeRaw(buffer_.data(), buffer_.size());
    buffer_.clear();
}

int FileTextStream::open(const std::string& path) {
    status_ = file_.open(path);
    return status_;
}

void FileTextStream::writeRaw(const char* data, std::size_t size) {
    if (status_ == 0) status_ = file_.write(data, size);
}

int FileTextStream::close() {
    flushBuffer();
    if (status_ != 0) {
        file_.abandon();
        return status_;
    }
    status_ = file_.commit();
    return status_;
}

}  // namespace qv

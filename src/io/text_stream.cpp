#include "io/text_stream.h"

#include <cstring>

namespace qv {

TextStream& TextStream::operator<<(int number) {
    return *this << std::string_view(std::to_string(number));
}

void TextStream::flushBuffer() {
    if (buffer_.empty()) return;
    lineEnds_.clear();
    lineEnds_.reserve(buffer_.size() + buffer_.size() / 8);
    const char* data = buffer_.data();
    const std::size_t size = buffer_.size();
    std::size_t start = 0;
    while (start < size) {
        const void* found = std::memchr(data + start, '\n', size - start);
        if (found == nullptr) {
            lineEnds_.append(data + start, size - start);
            break;
        }
        std::size_t lineFeed = static_cast<const char*>(found) - data;
        lineEnds_.append(data + start, lineFeed - start);
        lineEnds_.append("\r\n", 2);
        start = lineFeed + 1;
    }
    buffer_.clear();
    writeRaw(lineEnds_.data(), lineEnds_.size());
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

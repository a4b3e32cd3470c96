#include "io/text_stream.h"

#include <algorithm>
#include <cstring>

namespace qv {

TextStream& TextStream::operator<<(int number) {
    return *this << std::string_view(std::to_string(number));
}

TextStream& TextStream::appendLarge(std::string_view text) {
    while (!text.empty()) {
        if (used_ == kCapacity) flushBuffer();
        const std::size_t piece = std::min(text.size(), kCapacity - used_);
        std::memcpy(buffer_.data() + used_, text.data(), piece);
        used_ += piece;
        text.remove_prefix(piece);
    }
    if (used_ >= kBufferLimit) flushBuffer();
    return *this;
}

void TextStream::flushBuffer() {
    if (used_ == 0) return;
    // At worst every byte is a line feed and becomes two.
    if (lineEnds_.size() < 2 * used_) lineEnds_.resize(2 * used_);
    const char* data = buffer_.data();
    char* out = lineEnds_.data();
    std::size_t start = 0;
    while (start < used_) {
        const void* found = std::memchr(data + start, '\n', used_ - start);
        const std::size_t end = found == nullptr ? used_ : static_cast<const char*>(found) - data;
        std::memcpy(out, data + start, end - start);
        out += end - start;
        if (found == nullptr) break;
        *out++ = '\r';
        *out++ = '\n';
        start = end + 1;
    }
    used_ = 0;
    writeRaw(lineEnds_.data(), static_cast<std::size_t>(out - lineEnds_.data()));
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

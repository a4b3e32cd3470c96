#include "platform/sink_stream.h"

#include <stdio.h>

namespace qv {

namespace {

using Sink = std::function<void(std::string_view)>;

ssize_t writePiece(void* sink, const char* data, size_t size) {
    (*static_cast<const Sink*>(sink))(std::string_view(data, size));
    return static_cast<ssize_t>(size);
}

}  // namespace

void printThroughSink(const std::function<void(std::FILE*)>& print, const Sink& sink) {
    cookie_io_functions_t functions{nullptr, writePiece, nullptr, nullptr};
    FILE* stream = fopencookie(const_cast<Sink*>(&sink), "w", functions);
    if (stream == nullptr) return;
    print(stream);
    fclose(stream);
}

}  // namespace qv

#include "platform/xml_print.h"

#include <stdio.h>

namespace qv {

namespace {

using Sink = std::function<void(std::string_view)>;

ssize_t writePiece(void* sink, const char* data, size_t size) {
    (*static_cast<const Sink*>(sink))(std::string_view(data, size));
    return static_cast<ssize_t>(size);
}

}  // namespace

void printDocument(const TiXmlDocument& document, const Sink& sink) {
    // A stream whose writes go to sink, as the C library's buffer fills.
    cookie_io_functions_t functions{nullptr, writePiece, nullptr, nullptr};
    FILE* stream = fopencookie(const_cast<Sink*>(&sink), "w", functions);
    if (stream == nullptr) return;
    document.Print(stream, 0);
    fclose(stream);
}

std::string printDocument(const TiXmlDocument& document) {
    std::string printed;
    printDocument(document, [&printed](std::string_view piece) { printed.append(piece); });
    return printed;
}

}  // namespace qv

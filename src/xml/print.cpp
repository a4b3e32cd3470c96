#include "xml/print.h"

#include "platform/sink_stream.h"

namespace qv {

void printDocument(const TiXmlDocument& document,
                   const std::function<void(std::string_view)>& sink) {
    printThroughSink([&document](std::FILE* stream) { document.Print(stream, 0); }, sink);
}

}  // namespace qv

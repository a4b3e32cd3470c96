#include "platform/xml_print.h"

#include <cstdio>
#include <cstdlib>

namespace qv {

std::string printDocument(const TiXmlDocument& document) {
    char* buffer = nullptr;
    std::size_t size = 0;
    FILE* stream = open_memstream(&buffer, &size);
    if (stream == nullptr) return std::string();
    document.Print(stream, 0);
    std::fclose(stream);
    std::string printed(buffer, size);
    std::free(buffer);
    return printed;
}

}  // namespace qv

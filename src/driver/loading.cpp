#include "driver/loading.h"

#include <cstring>

#include "platform/file_system.h"

namespace qv {

void foldLineEnds(std::string& text) {
    std::size_t out = 0;
    const std::size_t size = text.size();
    for (std::size_t in = 0; in < size; ++in) {
        if (text[in] == '\r' && in + 1 < size && text[in + 1] == '\n') continue;
        text[out++] = text[in];
    }
    text.resize(out);
}

int loadTextFile(const std::string& path, std::string& text) {
    int status = readWholeFile(path, text);
    if (status != 0) return status;
    if (text.empty()) return kStatusEmptyFile;
    foldLineEnds(text);
    return 0;
}

}  // namespace qv

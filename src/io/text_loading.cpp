#include "io/text_loading.h"

#include <cstring>

#include "model/status.h"

namespace qv {

void foldLineEnds(std::string& text) {
    // Runs between carriage returns move down in one piece; only the CR of a
    // CR LF pair is left out.
    char* data = text.data();
    const std::size_t size = text.size();
    const void* found = std::memchr(data, '\r', size);
    if (found == nullptr) return;
    std::size_t in = static_cast<const char*>(found) - data;
    std::size_t out = in;
    while (in < size) {
        // data[in] is a CR.
        bool folded = in + 1 < size && data[in + 1] == '\n';
        if (!folded) data[out++] = '\r';
        ++in;
        found = std::memchr(data + in, '\r', size - in);
        std::size_t next = found == nullptr ? size : static_cast<const char*>(found) - data;
        std::memmove(data + out, data + in, next - in);
        out += next - in;
        in = next;
    }
    text.resize(out);
}

int loadTextFile(const FileReader& reader, const std::string& path, std::string& text) {
    int status = reader.read(path, text);
    if (status != 0) return status;
    if (text.empty()) return kStatusEmptyFile;
    foldLineEnds(text);
    return 0;
}

int loadMarkupFile(const FileReader& reader, const std::string& path, std::string& text,
                   InputDecoding& decoding) {
    int status = reader.read(path, text);
    if (status != 0) return status;
    if (text.empty()) return kStatusEmptyFile;
    decoding = decodeInputText(text);
    foldLineEnds(text);
    return 0;
}

}  // namespace qv

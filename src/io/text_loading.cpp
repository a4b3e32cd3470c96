#include "io/text_loading.h"

#include <cstring>

#include "io/messages.h"
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
                   InputDecoding* decoding) {
    int status = reader.read(path, text);
    if (status != 0) return status;
    if (text.empty()) return kStatusEmptyFile;
    InputDecoding how = decodeInputText(text);
    if (decoding != nullptr) *decoding = std::move(how);
    foldLineEnds(text);
    return 0;
}

void announceFile(const std::string& path) {
    printMessage({"Traitement du fichier \"", Verbatim{path}, "\""});
}

int processFile(const FileReader& reader, const std::string& path, const FileProcessor& processor,
                InputDecoding* decoding) {
    announceFile(path);
    std::string text;
    int status = loadMarkupFile(reader, path, text, decoding);
    if (status != 0) return status;
    return processor(path, text);
}

}  // namespace qv

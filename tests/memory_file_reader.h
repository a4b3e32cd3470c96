#pragma once
// Files served from memory, for the unit tests and the fuzz targets.

#include <functional>
#include <map>
#include <string>

#include "io/file_reader.h"
#include "model/status.h"

namespace qv {

class MemoryFileReader : public FileReader {
public:
    // Files served by a function of the path (0 and the bytes, or a status).
    explicit MemoryFileReader(std::function<int(const std::string&, std::string&)> serve)
        : serve_(std::move(serve)) {}
    // The files of a map, by path; any other is missing.
    explicit MemoryFileReader(std::map<std::string, std::string> files)
        : serve_([files = std::move(files)](const std::string& path, std::string& bytes) {
              auto found = files.find(path);
              if (found == files.end()) return kStatusFileNotFound;
              bytes = found->second;
              return 0;
          }) {}

    int read(const std::string& path, std::string& bytes) const override {
        bytes.clear();
        return serve_(path, bytes);
    }

private:
    std::function<int(const std::string&, std::string&)> serve_;
};

}  // namespace qv

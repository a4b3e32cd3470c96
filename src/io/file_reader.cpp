#include "io/file_reader.h"

#include "platform/file_system.h"

namespace qv {

int DiskFileReader::read(const std::string& path, std::string& bytes) const {
    return readWholeFile(path, bytes);
}

int DiskFileReader::readAhead(const std::string& path, std::string& bytes,
                              std::size_t largest) const {
    return readRegularFile(path, bytes, largest);
}

bool DiskFileReader::exists(const std::string& path) const { return fileExists(path); }

}  // namespace qv

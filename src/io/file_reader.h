#pragma once
#include <string>

namespace qv {

// Where input files come from. The run reads the disk; a fuzz target or a
// test serves files from memory through the same phases.
class FileReader {
public:
    virtual ~FileReader() = default;
    // Reads the whole file at path (a path as the list file and the command
    // line give it) into bytes, emptied first. Returns 0 or a status.
    virtual int read(const std::string& path, std::string& bytes) const = 0;
    // Whether a file is there to be read, for a check of the links to it.
    virtual bool exists(const std::string& path) const {
        std::string bytes;
        return read(path, bytes) == 0;
    }
};

// Files on disk, with Windows-style paths taken as the system's.
class DiskFileReader : public FileReader {
public:
    int read(const std::string& path, std::string& bytes) const override;
    bool exists(const std::string& path) const override;
};

}  // namespace qv

#pragma once
#include <cstddef>
#include <string>

#include "platform/file_system.h"  // kFileLeftAlone

namespace qv {

// Where input files come from. The run reads the disk; a fuzz target or a
// test serves files from memory through the same phases.
class FileReader {
public:
    virtual ~FileReader() = default;
    // Reads the whole file at path (a path as the list file and the command
    // line give it) into bytes, emptied first. Returns 0 or a status.
    virtual int read(const std::string& path, std::string& bytes) const = 0;
    // As read, for a page read ahead of the walk that may never reach it:
    // a file that could block the reading (a pipe) or that is larger than
    // largest may be left alone instead, returning kFileLeftAlone. Called
    // from several threads at once.
    virtual int readAhead(const std::string& path, std::string& bytes, std::size_t) const {
        return read(path, bytes);
    }
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
    int readAhead(const std::string& path, std::string& bytes, std::size_t largest) const override;
    bool exists(const std::string& path) const override;
};

}  // namespace qv

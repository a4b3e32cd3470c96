#pragma once
// A scratch directory for tests that touch files; removed with its content.

#include <dirent.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace qv::testing_support {

class TempDir {
public:
    TempDir() {
        std::string pattern = "/tmp/quorvane_test.XXXXXX";
        if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    }
    ~TempDir() {
        if (!path_.empty()) removeTree(path_);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // The directory with a trailing slash, ready for plain concatenation.
    std::string prefix() const { return path_ + "/"; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

    void write(const std::string& name, const std::string& bytes) const {
        std::ofstream out(file(name), std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    std::string read(const std::string& name) const {
        std::ifstream in(file(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    void makeDirectory(const std::string& name) const { ::mkdir(file(name).c_str(), 0777); }

    // Every entry of a directory below this one ("" for this one), sorted.
    std::vector<std::string> list(const std::string& name = "") const {
        std::vector<std::string> names;
        if (DIR* dir = ::opendir(name.empty() ? path_.c_str() : file(name).c_str())) {
            while (dirent* entry = ::readdir(dir)) {
                std::string entryName = entry->d_name;
                if (entryName != "." && entryName != "..") names.push_back(entryName);
            }
            ::closedir(dir);
        }
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    static void removeTree(const std::string& path) {
        if (DIR* dir = ::opendir(path.c_str())) {
            while (dirent* entry = ::readdir(dir)) {
                std::string name = entry->d_name;
                if (name == "." || name == "..") continue;
                std::string child = path + "/" + name;
                struct stat info;
                if (::lstat(child.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
                    removeTree(child);
                } else {
                    ::unlink(child.c_str());
                }
            }
            ::closedir(dir);
        }
        ::rmdir(path.c_str());
    }

    std::string path_;
};

}  // namespace qv::testing_support

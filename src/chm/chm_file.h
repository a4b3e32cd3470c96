#pragma once
#include <string>
namespace qv {
// One file stored in the compiled help.
struct ChmFile {
    std::string name;     // internal name: "/#SYSTEM", "/aide/pages/a.html", "::DataSpace/NameList"
    std::string content;  // its bytes
    bool compressed = true;  // in the LZX-compressed section; false: the uncompressed one
};
}  // namespace qv

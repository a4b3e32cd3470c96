#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "chm/chm_file.h"
#include "chm/lzx_encoder.h"

namespace qv {

struct ContainerSettings {
    unsigned languageId = 0x409;
    std::uint32_t timestamp = 0;  // the header's time stamp field, stored as given
    LzxSettings lzx;
};

// The whole compiled help holding files: the ITSF header, the directory, the
// uncompressed section, and the LZX-compressed section with the control
// data, reset table and span information its readers need. Files keep the
// order given inside their section; names must be unique (without regard to
// ASCII case) and short enough for a directory chunk (kMaxChmNameBytes).
std::string buildContainer(const std::vector<ChmFile>& files, const ContainerSettings& settings);

// The longest internal name the directory holds: an entry must fit in a
// 4 KiB chunk with room to spare.
constexpr std::size_t kMaxChmNameBytes = 1024;

}  // namespace qv

#include "chm/container.h"

#include <algorithm>

#include "chm/directory.h"
#include "chm/encint.h"

namespace qv {

namespace {

constexpr std::uint64_t kFrameSize = 0x8000;
constexpr std::size_t kItsfHeaderSize = 0x60;
constexpr std::size_t kFileSizeSectionSize = 0x18;
const char* const kStorage = "::DataSpace/Storage/MSCompressed/";
const char* const kLzxGuid = "{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}";

std::string utf16(const std::string& ascii) {
    std::string out;
    for (char c : ascii) appendLittleEndian(out, static_cast<unsigned char>(c), 2);
    return out;
}

// The names of the two sections, in section order, each counted and ended
// by a zero word; the file starts with its own length in words.
std::string nameList() {
    std::string names;
    appendLittleEndian(names, 2, 2);
    for (const char* name : {"Uncompressed", "MSCompressed"}) {
        const std::string text = name;
        appendLittleEndian(names, text.size(), 2);
        names += utf16(text);
        appendLittleEndian(names, 0, 2);
    }
    std::string out;
    appendLittleEndian(out, (names.size() + 2) / 2, 2);
    return out + names;
}

// The compression's parameters: reset interval and window in 32 KiB units.
std::string controlData(const LzxSettings& lzx) {
    std::string out;
    appendLittleEndian(out, 6, 4);  // words that follow
    out += "LZXC";
    appendLittleEndian(out, 2, 4);  // version: sizes in 32 KiB units
    appendLittleEndian(out, std::max(1u, lzx.resetFrames), 4);
    appendLittleEndian(out, std::max<std::uint64_t>(1, (1ull << lzx.windowBits) / kFrameSize), 4);
    // Windows per half reset interval, as chmlib counts the frames between
    // resets: reset interval / (window / 2) * this field.
    appendLittleEndian(out, std::max<std::uint64_t>(1, (1ull << lzx.windowBits) / (2 * kFrameSize)),
                       4);
    appendLittleEndian(out, 0, 4);
    return out;
}

// Where each 32 KiB frame starts in the compressed stream, so that a reader
// can start at any reset point.
std::string resetTable(const LzxOutput& compressed, std::uint64_t uncompressedSize) {
    std::string out;
    appendLittleEndian(out, 2, 4);  // version
    // One entry per frame and one for the end of the stream: 7-Zip refuses a
    // table without that last entry.
    appendLittleEndian(out, compressed.frameOffsets.size() + 1, 4);
    appendLittleEndian(out, 8, 4);     // entry size
    appendLittleEndian(out, 0x28, 4);  // header size
    appendLittleEndian(out, uncompressedSize, 8);
    appendLittleEndian(out, compressed.bytes.size(), 8);
    appendLittleEndian(out, kFrameSize, 8);
    for (std::uint64_t offset : compressed.frameOffsets) appendLittleEndian(out, offset, 8);
    appendLittleEndian(out, compressed.bytes.size(), 8);
    return out;
}

// Lays the files of one section end to end, noting each one's place.
void lay(const ChmFile& file, unsigned section, std::string& bytes,
         std::vector<DirectoryEntry>& entries) {
    entries.push_back({file.name, section, bytes.size(), file.content.size()});
    bytes += file.content;
}

void appendGuid(std::string& out, std::uint32_t a) {
    // The two header GUIDs differ only in their first word.
    appendLittleEndian(out, a, 4);
    appendLittleEndian(out, 0x7BAA, 2);
    appendLittleEndian(out, 0x11D0, 2);
    for (unsigned char c : {0x9E, 0x0C, 0x00, 0xA0, 0xC9, 0x22, 0xE6, 0xEC}) {
        out.push_back(static_cast<char>(c));
    }
}

std::string itsfHeader(const ContainerSettings& settings, std::uint64_t directorySize,
                       std::uint64_t fileSize) {
    const std::uint64_t directoryOffset = kItsfHeaderSize + kFileSizeSectionSize;
    std::string out = "ITSF";
    appendLittleEndian(out, 3, 4);  // version
    appendLittleEndian(out, kItsfHeaderSize, 4);
    appendLittleEndian(out, 1, 4);
    appendLittleEndian(out, settings.timestamp, 4);
    appendLittleEndian(out, settings.languageId, 4);
    appendGuid(out, 0x7C01FD10);
    appendGuid(out, 0x7C01FD11);
    appendLittleEndian(out, kItsfHeaderSize, 8);
    appendLittleEndian(out, kFileSizeSectionSize, 8);
    appendLittleEndian(out, directoryOffset, 8);
    appendLittleEndian(out, directorySize, 8);
    appendLittleEndian(out, directoryOffset + directorySize, 8);  // the content
    appendLittleEndian(out, 0x1FE, 4);
    appendLittleEndian(out, 0, 4);
    appendLittleEndian(out, fileSize, 8);
    appendLittleEndian(out, 0, 8);
    return out;
}

}  // namespace

std::string buildContainer(const std::vector<ChmFile>& files, const ContainerSettings& settings) {
    std::vector<DirectoryEntry> entries;
    std::string plain;
    std::string uncompressed;
    // The section is laid out, padded and compressed in place: on a large
    // help set each copy of it costs as much as a fair part of the encoding.
    std::size_t sectionSize = 0;
    for (const ChmFile& file : files) {
        if (file.compressed) sectionSize += file.content.size();
    }
    uncompressed.reserve((sectionSize / kFrameSize + 1) * kFrameSize);
    for (const ChmFile& file : files) {
        if (file.compressed) {
            lay(file, 1, uncompressed, entries);
        } else {
            lay(file, 0, plain, entries);
        }
    }
    // Readers decode whole frames, the last one too: the stream carries it
    // full, padded with zeros, while the tables give the true length. A
    // section that ends on a frame boundary gets a frame of zeros after it:
    // libmspack decodes the frame that follows its last byte.
    uncompressed.resize((sectionSize / kFrameSize + 1) * kFrameSize, '\0');
    const LzxOutput compressed = compressLzx(uncompressed, settings.lzx);
    std::string().swap(uncompressed);
    const std::string storage = kStorage;
    std::string spanInfo;
    appendLittleEndian(spanInfo, sectionSize, 8);
    const std::vector<ChmFile> dataSpace = {
        {"::DataSpace/NameList", nameList(), false},
        {storage + "ControlData", controlData(settings.lzx), false},
        {storage + "SpanInfo", spanInfo, false},
        {storage + "Transform/List", utf16(kLzxGuid), false},
        {storage + "Transform/" + kLzxGuid + "/InstanceData/ResetTable",
         resetTable(compressed, sectionSize), false},
    };
    for (const ChmFile& file : dataSpace) lay(file, 0, plain, entries);
    // The compressed section closes the uncompressed one, appended once to
    // the file below.
    entries.push_back({storage + "Content", 0, plain.size(), compressed.bytes.size()});
    std::sort(entries.begin(), entries.end(), [](const DirectoryEntry& a, const DirectoryEntry& b) {
        return directoryOrder(a.name, b.name);
    });
    const std::string directory = buildDirectory(entries, settings.languageId);
    const std::uint64_t fileSize = kItsfHeaderSize + kFileSizeSectionSize + directory.size() +
                                   plain.size() + compressed.bytes.size();
    std::string out = itsfHeader(settings, directory.size(), fileSize);
    out.reserve(fileSize);
    out += directory;
    out += plain;
    out += compressed.bytes;
    return out;
}

}  // namespace qv

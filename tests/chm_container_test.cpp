// The container read back by libmspack's CHM reader: the directory walk
// (open), the indexed lookup (fast_find) and the decompression (extract) must
// all give back every stored file byte for byte.
#include <gtest/gtest.h>
#include <mspack.h>

#include <map>
#include <string>
#include <vector>

#include "chm/container.h"
#include "chm/directory.h"
#include "chm/encint.h"
#include "temp_dir.h"

namespace qv {
namespace {

using testing_support::TempDir;

// Deterministic bytes that compress poorly, so that sizes stay what they say.
std::string noise(std::size_t size, unsigned seed) {
    std::string out(size, '\0');
    for (char& c : out) {
        seed = seed * 1103515245u + 12345u;
        c = static_cast<char>(seed >> 16);
    }
    return out;
}

std::vector<ChmFile> manyPages(int count) {
    std::vector<ChmFile> files;
    for (int i = 0; i < count; ++i) {
        files.push_back({"/aide/pages/page" + std::to_string(i) + "-with-a-longer-name.html",
                         "<p>" + std::to_string(i) + "</p>", i % 7 != 0});
    }
    return files;
}

struct ContainerCase {
    const char* what;
    std::vector<ChmFile> files;
    unsigned resetFrames;
    unsigned windowBits = 16;
};

std::vector<ContainerCase> containerCases() {
    return {
        {"empty and uncompressed files",
         {{"/a.html", "", true}, {"/b.css", "x", false}, {"/C.gif", "", false}},
         2},
        {"names differing in ASCII case sort together",
         {{"/Zeta.html", "z", true}, {"/alpha.html", "a", true}, {"/Beta.html", "b", true}},
         1},
        {"frames and reset intervals",
         {{"/big.bin", noise(5 * 0x8000 + 123, 1), true}, {"/odd.txt", noise(3, 2), true}},
         2},
        {"a reset every four frames in a 128 KiB window",
         {{"/big.bin", noise(9 * 0x8000, 3), true}},
         4,
         17},
        {"listing chunks under an index", manyPages(400), 2},
        {"index chunks under an index", manyPages(4000), 2},
    };
}

std::string extracted(mschm_decompressor* chmd, mschmd_file* file, const TempDir& dir) {
    const std::string out = dir.file("out");
    if (int e = chmd->extract(chmd, file, out.c_str()))
        return "<extract failed " + std::to_string(e) + ">";
    return dir.read("out");
}

TEST(ChmContainer, EveryFileReadsBackThroughLibmspack) {
    for (const ContainerCase& c : containerCases()) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        ContainerSettings settings;
        settings.lzx.resetFrames = c.resetFrames;
        settings.lzx.windowBits = c.windowBits;
        dir.write("t.chm", buildContainer(c.files, settings));
        const std::string path = dir.file("t.chm");
        mschm_decompressor* chmd = mspack_create_chm_decompressor(nullptr);
        ASSERT_NE(chmd, nullptr);
        mschmd_header* chm = chmd->open(chmd, path.c_str());
        ASSERT_NE(chm, nullptr) << chmd->last_error(chmd);
        std::map<std::string, std::string> walked;
        for (mschmd_file* f = chm->files; f != nullptr; f = f->next) {
            walked[f->filename] = extracted(chmd, f, dir);
        }
        EXPECT_EQ(walked.size(), c.files.size());
        for (const ChmFile& file : c.files) {
            EXPECT_TRUE(walked[file.name] == file.content) << file.name;
            mschmd_file found{};
            ASSERT_EQ(chmd->fast_find(chmd, chm, file.name.c_str(), &found, sizeof found), 0);
            ASSERT_NE(found.section, nullptr) << file.name;
            EXPECT_EQ(found.section->id, file.compressed ? 1u : 0u) << file.name;
            EXPECT_TRUE(extracted(chmd, &found, dir) == file.content) << file.name;
        }
        chmd->close(chmd, chm);
        mspack_destroy_chm_decompressor(chmd);
    }
}

TEST(ChmContainer, EncIntGoldens) {
    const std::vector<std::pair<std::uint64_t, std::string>> cases = {
        {0, std::string(1, '\0')},
        {0x7F, "\x7F"},
        {0x80, std::string("\x81\x00", 2)},
        {0x3FFF, "\xFF\x7F"},
        {0x4000, std::string("\x81\x80\x00", 3)},
    };
    for (const auto& [value, bytes] : cases) {
        std::string out;
        appendEncInt(out, value);
        EXPECT_EQ(out, bytes) << value;
    }
}

}  // namespace
}  // namespace qv

// A list file and its pages, all from the input: the list comes first, then
// each page after a form feed; the pages are served as p1.html, p2.html and
// so on (any other name is missing). The help set is read as a run reads it,
// which loads and analyses its pages (ahead of the walk, on threads), and both
// trees are written into memory; then it is checked as --check checks it (with
// its report dropped).

#include <cstdint>
#include <string_view>
#include <vector>

#include "check/check_help_set.h"
#include "fuzz_support.h"
#include "helpset/read_help_set.h"
#include "memory_file_reader.h"
#include "run/run_messages.h"

namespace {

std::vector<std::string_view> sections;

int serveFromInput(const std::string& path, std::string& bytes) {
    std::size_t index = 0;
    if (path != "liste.xml") {
        if (path.size() != 7 || path[0] != 'p' || path[1] < '1' || path[1] > '9' ||
            path.compare(2, 5, ".html") != 0) {
            return 2;
        }
        index = static_cast<std::size_t>(path[1] - '0');
        if (index >= sections.size()) return 2;
    }
    bytes.assign(sections[index]);
    return 0;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qv::fuzz::setUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    sections.clear();
    for (std::size_t start = 0;;) {
        std::size_t end = input.find('\f', start);
        sections.push_back(input.substr(start, end - start));
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    static const qv::MemoryFileReader reader(serveFromInput);
    qv::HelpProject project;
    qv::RunMessages notes;
    if (qv::readHelpSet(project, reader, "liste.xml", notes, 3) == 0) {
        qv::fuzz::writeTrees(project);
    }
    qv::checkHelpSet(
        reader, qv::splitListPath("liste.xml"), "liste.xml",
        [](const std::vector<qv::MessagePiece>&) {}, 3);
    return 0;
}

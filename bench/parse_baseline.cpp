// The cost the tool cannot avoid: TinyXML parsing the normalised pages of a
// help set, and nothing else.
//
//   qv_parse_baseline LIST_FILE [REPEAT]
//
// Reads the list file, loads every page it names (in document order) the way
// the tool loads them, normalises each one, then parses all the normalised
// texts REPEAT times (default 3) and prints the best time of each step:
//
//   pages=N bytes=B load_ms=… normalise_ms=… parse_ms=… parse_cpu_ms=…
//
// Only parseAll() is the baseline; under callgrind, count it alone with
// --toggle-collect='*parseAll*'.

#include <tinyxml.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "io/text_loading.h"
#include "page/normalise.h"

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double cpuMilliseconds() {
    timespec now;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

void collectPages(const TiXmlElement& element, std::vector<std::string>& names) {
    for (const TiXmlElement* child = element.FirstChildElement(); child != nullptr;
         child = child->NextSiblingElement()) {
        const char* name = child->Attribute("name");
        if (std::string(child->Value()) == "file" && name != nullptr) names.push_back(name);
        collectPages(*child, names);
    }
}

// Parses every text as the tool does (white space kept) and drops the
// document. Returns the number of parse errors.
__attribute__((noinline)) int parseAll(const std::vector<std::string>& texts) {
    int errors = 0;
    for (const std::string& text : texts) {
        TiXmlDocument document;
        document.Parse(text.c_str(), nullptr, TIXML_ENCODING_UTF8);
        if (document.Error()) ++errors;
    }
    return errors;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s LIST_FILE [REPEAT]\n", argv[0]);
        return 2;
    }
    const std::string listPath = argv[1];
    const int repeat = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    const std::string directory = listPath.substr(0, listPath.find_last_of('/') + 1);
    TiXmlBase::SetCondenseWhiteSpace(false);

    TiXmlDocument list;
    if (!list.LoadFile(listPath.c_str()) || list.RootElement() == nullptr) {
        std::fprintf(stderr, "cannot read %s\n", listPath.c_str());
        return 1;
    }
    std::vector<std::string> names;
    collectPages(*list.RootElement(), names);

    double loadMs = 1e300, normaliseMs = 1e300, parseMs = 1e300, parseCpuMs = 1e300;
    std::vector<std::string> texts(names.size());
    const qv::DiskFileReader reader;
    std::size_t bytes = 0;
    for (int round = 0; round < repeat; ++round) {
        Clock::time_point start = Clock::now();
        bytes = 0;
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (int status = qv::loadTextFile(reader, directory + names[i], texts[i])) {
                std::fprintf(stderr, "cannot load %s: status %d\n", names[i].c_str(), status);
                return 1;
            }
            bytes += texts[i].size();
        }
        loadMs = std::min(loadMs, millisecondsSince(start));
        start = Clock::now();
        for (std::string& text : texts) qv::normalisePage(text);
        normaliseMs = std::min(normaliseMs, millisecondsSince(start));
    }
    int errors = 0;
    for (int round = 0; round < repeat; ++round) {
        Clock::time_point start = Clock::now();
        double cpuStart = cpuMilliseconds();
        errors = parseAll(texts);
        parseCpuMs = std::min(parseCpuMs, cpuMilliseconds() - cpuStart);
        parseMs = std::min(parseMs, millisecondsSince(start));
    }
    std::printf(
        "pages=%zu bytes=%zu load_ms=%.3f normalise_ms=%.3f parse_ms=%.3f parse_cpu_ms=%.3f "
        "errors=%d\n",
        names.size(), bytes, loadMs, normaliseMs, parseMs, parseCpuMs, errors);
    return errors == 0 ? 0 : 1;
}

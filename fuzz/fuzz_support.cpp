#include "fuzz_support.h"

#include <fcntl.h>
#include <tinyxml.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "io/text_stream.h"
#include "output/contents_file.h"
#include "output/html_lists.h"
#include "output/index_file.h"
#include "output/index_sort.h"
#include "xml/html_document.h"
#include "xml/html_nesting_scan.h"
#include "xml/nesting_scan.h"
#include "xml/parse.h"

namespace qv::fuzz {

namespace {

std::string scratch;

void removeScratch() {
    std::error_code ignored;
    if (!scratch.empty()) std::filesystem::remove_all(scratch, ignored);
}

std::size_t elementDepth(const TiXmlNode& node) {
    std::size_t deepest = 0;
    for (const TiXmlNode* child = node.FirstChild(); child; child = child->NextSibling()) {
        deepest = std::max(deepest, elementDepth(*child));
    }
    return deepest + (node.ToElement() != nullptr ? 1 : 0);
}

}  // namespace

void setUp() {
    int null = ::open("/dev/null", O_WRONLY);
    if (null >= 0) ::dup2(null, STDOUT_FILENO);
    for (const char* base : {"/dev/shm", "/tmp"}) {
        std::string pattern = std::string(base) + "/quorvane-fuzz.XXXXXX";
        if (::mkdtemp(pattern.data()) != nullptr && ::chdir(pattern.c_str()) == 0) {
            scratch = pattern;
            std::atexit(removeScratch);
            return;
        }
    }
    std::abort();  // nowhere safe to run
}

void writeTrees(HelpProject& project) {
    sortIndex(project.indexRoot);
    for (const char* start : {"", "\t"}) {
        const std::string target = *start == '\0' ? "" : "main";
        StringTextStream out;
        writeContentsSitemap(project.contentsRoot, project.listDirectoryUrl, out);
        writeContentsHtml(project.contentsRoot, project.utf8Titles, target, start, out);
        writeIndexSitemap(project.indexRoot, project.listDirectoryUrl, out);
        writeIndexHtml(project.indexRoot, project.utf8Titles, target, start, out);
        (void)out.str();
    }
}

void checkNestingScan(const TiXmlDocument& document, const std::string& text) {
    const std::size_t depth = elementDepth(document);
    if (depth == 0) return;
    const char* xml = text.c_str();
    const XmlLimits shallower{depth - 1, static_cast<std::size_t>(-1),
                              static_cast<std::size_t>(-1)};
    if (!findExcessiveElement(xml, TIXML_ENCODING_UTF8, shallower).found()) {
        std::fprintf(stderr, "the nesting scan saw less than depth %zu\n", depth);
        std::abort();
    }
}

void checkHtmlNestingScan(const std::string& text) {
    constexpr std::size_t kAny = static_cast<std::size_t>(-1);
    const XmlLimits unlimited{kAny, kAny, kAny};
    TiXmlDocument document;
    parseHtml(document, text, unlimited);
    const std::size_t built = elementDepth(document);
    const std::size_t expected = scanHtmlNesting(text, unlimited).deepest;
    if (built > 2 * expected + 16) {
        std::fprintf(stderr, "the HTML scan expected depth %zu, gumbo built %zu\n", expected,
                     built);
        std::abort();
    }
}

}  // namespace qv::fuzz

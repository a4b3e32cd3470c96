// Writes a compiled help holding pages, their topic tables and the full-text
// index over them, for the search test to read back with chmlib.
//
//     quorvane_fts_chm OUT.chm LANGUAGE_ID PAGE...
//
// Page i (from 0) is topic i; its title is its <title>; its URL the path as
// given. The tables hold only what a search reads: #TOPICS (title and URL of
// each topic), #STRINGS, #URLTBL, #URLSTR.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

#include "chm/container.h"
#include "chm/encint.h"
#include "chm/full_text_index.h"

namespace {

std::string readFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string titleOf(const std::string& html) {
    const std::size_t start = html.find("<title>");
    const std::size_t end = html.find("</title>");
    if (start == std::string::npos || end == std::string::npos || end < start) return "";
    return html.substr(start + 7, end - start - 7);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::cerr << "usage: quorvane_fts_chm OUT.chm LANGUAGE_ID PAGE...\n";
        return 2;
    }
    const auto languageId = static_cast<unsigned>(std::strtoul(argv[2], nullptr, 0));
    std::vector<qv::FtsTopic> topics;
    std::string topicTable, strings(1, '\0'), urlTable, urlStrings(1, '\0');
    for (int i = 3; i < argc; ++i) {
        const std::string html = readFile(argv[i]);
        const std::string title = titleOf(html);
        const auto topic = static_cast<std::uint32_t>(i - 3);
        qv::appendLittleEndian(topicTable, 0, 4);
        qv::appendLittleEndian(topicTable, strings.size(), 4);
        qv::appendLittleEndian(topicTable, urlTable.size(), 4);
        qv::appendLittleEndian(topicTable, 6, 2);
        qv::appendLittleEndian(topicTable, 0, 2);
        strings += title + '\0';
        qv::appendLittleEndian(urlTable, 0, 4);
        qv::appendLittleEndian(urlTable, topic, 4);
        qv::appendLittleEndian(urlTable, urlStrings.size(), 4);
        qv::appendLittleEndian(urlStrings, 0, 8);
        urlStrings += std::string(argv[i]) + '\0';
        topics.push_back({topic, title, html});
    }
    const std::vector<qv::ChmFile> files = {
        {"/#TOPICS", topicTable},
        {"/#STRINGS", strings},
        {"/#URLTBL", urlTable},
        {"/#URLSTR", urlStrings},
        {"/$FIftiMain", qv::buildFullTextIndex(topics, languageId)},
    };
    qv::ContainerSettings settings;
    settings.languageId = languageId;
    std::ofstream(argv[1], std::ios::binary) << qv::buildContainer(files, settings);
    return 0;
}

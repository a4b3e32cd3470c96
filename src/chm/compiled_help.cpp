#include "chm/compiled_help.h"

#include <deque>
#include <unordered_map>
#include <unordered_set>

#include "chm/container.h"
#include "chm/full_text_index.h"
#include "chm/keyword_links.h"
#include "chm/system_files.h"
#include "chm/topic_table.h"
#include "text/cp1252.h"
#include "text/input_encoding.h"
#include "text/links.h"

namespace qv {

namespace {

std::string fileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string withoutExtension(const std::string& name) {
    const std::size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

// The full-text index over the pages: each page's text, made UTF-8 the way
// the run reads pages, under its topic; a page listed twice counts once.
std::string fullTextIndex(const HelpProject& project, const std::vector<ChmFile>& collected,
                          TopicTable& topics) {
    std::unordered_map<std::string, const std::string*> contents;
    for (const ChmFile& file : collected) contents.emplace(file.name, &file.content);
    std::vector<FtsTopic> texts;
    // The pages that needed decoding, as UTF-8; the others are read in place.
    std::deque<std::string> decoded;
    std::unordered_set<std::uint32_t> indexed;
    for (const std::string& page : project.pages) {
        const std::string local = project.listDirectoryUrl + helpSetPath(page);
        const auto found = contents.find("/" + local);
        const std::uint32_t topic = topics.topicOf(project.listDirectoryUrl + page, {});
        if (found == contents.end() || !indexed.insert(topic).second) continue;
        std::string_view html = *found->second;
        if (needsInputDecoding(html)) {
            decoded.push_back(*found->second);
            decodeInputText(decoded.back());
            html = decoded.back();
        }
        std::string title;
        appendCp1252AsUtf8(title, topics.topics()[topic].title);
        texts.push_back({topic, title, html});
    }
    return buildFullTextIndex(texts, project.languageId);
}

}  // namespace

int buildCompiledHelp(const HelpProject& project, const FileReader& reader,
                      const CompiledHelpRequest& request, std::string& bytes,
                      std::vector<CollectionProblem>& problems) {
    CollectedFiles collected = collectFiles(project, reader);
    problems = collected.problems;
    const std::string contentsFile = fileNameOf(request.baseName) + ".hhc";
    const std::string indexFile = fileNameOf(request.baseName) + ".hhk";
    std::vector<ChmFile> files;
    // The contents and index files as the run wrote them, beside the project.
    const std::string folder =
        request.baseName.substr(0, request.baseName.size() - fileNameOf(request.baseName).size());
    for (const std::string& sitemap : {contentsFile, indexFile}) {
        std::string text;
        if (int status = reader.read(folder + sitemap, text)) return status;
        files.push_back({"/" + sitemap, std::move(text), true});
    }
    TopicTable topics(project);
    for (ChmFile& file : buildKeywordLinks(project, topics)) {
        files.push_back(std::move(file));
    }
    std::string fullText = fullTextIndex(project, collected.files, topics);
    if (!fullText.empty()) files.push_back({"/$FIftiMain", std::move(fullText), true});

    SystemSettings system;
    system.contentsFile = contentsFile;
    system.indexFile = indexFile;
    // Without a default page the viewer opens the first one.
    const std::string& opening = project.defaultTopic.empty() && !project.pages.empty()
                                     ? project.pages.front()
                                     : project.defaultTopic;
    system.defaultTopic = project.listDirectoryUrl + opening;
    system.title = utf8ToCp1252(project.title);
    system.compiledBase = withoutExtension(fileNameOf(request.compiledPath));
    system.languageId = project.languageId;
    system.fileTime = fileTimeFromUnix(request.unixTime);
    for (ChmFile& file : buildTopicFiles(topics.topics(), contextTopics(project))) {
        if (file.name == "/#IDXHDR") system.indexHeader = file.content;
        files.push_back(std::move(file));
    }
    files.push_back({"/#SYSTEM", buildSystemFile(system), false});
    for (ChmFile& file : collected.files) files.push_back(std::move(file));

    ContainerSettings settings;
    settings.languageId = project.languageId;
    settings.timestamp = static_cast<std::uint32_t>(system.fileTime & 0xFFFFFFFF);
    settings.lzx.threads = request.threads;
    bytes = buildContainer(files, settings);
    return 0;
}

}  // namespace qv

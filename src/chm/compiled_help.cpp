#include "chm/compiled_help.h"

#include "chm/container.h"
#include "chm/full_text_index.h"
#include "chm/keyword_links.h"
#include "chm/system_files.h"
#include "chm/topic_table.h"
#include "text/cp1252.h"
#include "text/input_encoding.h"

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
// the run reads pages, under its topic.
std::string fullTextIndex(const HelpProject& project, const std::vector<ChmFile>& pages,
                          TopicTable& topics) {
    std::vector<FtsTopic> texts;
    for (std::size_t i = 0; i < project.pages.size() && i < pages.size(); ++i) {
        const std::string local = project.listDirectoryUrl + project.pages[i];
        const std::uint32_t topic = topics.topicOf(local, {});
        std::string html = pages[i].content;
        decodeInputText(html);
        std::string title;
        appendCp1252AsUtf8(title, topics.topics()[topic].title);
        texts.push_back({topic, title, std::move(html)});
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
    for (const std::string& sitemap : {contentsFile, indexFile}) {
        std::string text;
        if (int status = reader.read(request.baseName + sitemap.substr(sitemap.size() - 4), text)) {
            return status;
        }
        files.push_back({"/" + sitemap, std::move(text), true});
    }
    TopicTable topics(project);
    for (ChmFile& file : buildKeywordLinks(project, topics)) {
        files.push_back(std::move(file));
    }
    const std::string fullText = fullTextIndex(project, collected.files, topics);
    if (!fullText.empty()) files.push_back({"/$FIftiMain", fullText, true});

    SystemSettings system;
    system.contentsFile = contentsFile;
    system.indexFile = indexFile;
    // Without a default page the viewer opens the first one.
    const std::string& opening =
        project.defaultTopic.empty() && !project.pages.empty() ? project.pages.front()
                                                               : project.defaultTopic;
    system.defaultTopic = project.listDirectoryUrl + opening;
    system.title = utf8ToCp1252(project.title);
    system.compiledBase = withoutExtension(fileNameOf(request.compiledPath));
    system.languageId = project.languageId;
    system.fileTime = fileTimeFromUnix(request.unixTime);
    files.push_back({"/#SYSTEM", buildSystemFile(system), false});
    for (ChmFile& file : buildTopicFiles(topics.topics())) files.push_back(std::move(file));
    for (ChmFile& file : collected.files) files.push_back(std::move(file));

    ContainerSettings settings;
    settings.languageId = project.languageId;
    settings.timestamp = static_cast<std::uint32_t>(system.fileTime & 0xFFFFFFFF);
    settings.lzx.threads = request.threads;
    bytes = buildContainer(files, settings);
    return 0;
}

}  // namespace qv

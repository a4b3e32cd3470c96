// A template, served from the input: its substitution point is found and its
// parameters parsed, then both trees of a small project (or its contexts'
// map, for the target "contexte") are rendered into its place in memory,
// with the link target it names.

#include <cstdint>
#include <string_view>

#include "fuzz_support.h"
#include "io/text_stream.h"
#include "memory_file_reader.h"
#include "output/templates.h"

namespace {

std::string_view input;

int serveFromInput(const std::string&, std::string& bytes) {
    bytes.assign(input);
    return 0;
}

// Contents: a page entry with a child, a filler, an untitled entry; index: a
// group with a keyword, a keyword with markup characters; two contexts, one
// numbered, one whose anchor would end a script.
void fillTrees(qv::HelpProject& project) {
    qv::TopicNode& intro = project.contentsRoot.appendChild();
    intro.title = "Intro";
    intro.file = "a.htm";
    intro.anchor = "titre";
    qv::TopicNode& part = intro.appendChild();
    part.title = "Part \xE9 <&>";
    part.file = "a.htm";
    part.anchor = "s1";
    part.imageNumber = 3;
    project.contentsRoot.appendChild().appendChild().file = "b.htm";
    qv::TopicNode& group = project.indexRoot.appendChild();
    group.title = "Groupe";
    qv::TopicNode& keyword = group.appendChild();
    keyword.title = "R&D \"x\"";
    keyword.file = "r&d.htm";
    keyword.anchor = "k";
    project.contexts.marks = {{"IDH_A", "a.htm", "s1"},
                              {"IDH_B", "r&d.htm", "</script>\xE2\x80\xA8"}};
    project.contexts.numbers = {{"IDH_A", 1001}};
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qv::fuzz::setUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    input = std::string_view(reinterpret_cast<const char*>(data), size);
    static const qv::MemoryFileReader reader(serveFromInput);
    qv::HelpProject project;
    fillTrees(project);
    qv::TemplateParts parts;
    qv::TemplateProblem problem;
    if (qv::prepareTemplate(reader, "aide\\sommaire.tpl", parts, problem) != 0) return 0;
    for (auto list : {qv::TemplateList::Contents, qv::TemplateList::Index}) {
        qv::StringTextStream out;
        qv::writeTemplatePage(parts, project, list, out);
        (void)out.str();
    }
    return 0;
}

// The project file (.hhp) from which the help compiler builds the .chm.

#include "output/project_file.h"

#include <cstdio>

#include "io/text_stream.h"
#include "text/cp1252.h"

namespace qv {

namespace {

// The topic of each context, in the order the pages mark them, and the
// headers that number them, named as the pages are.
void writeContextSections(const HelpProject& project, TextStream& out) {
    out << "[ALIAS]\n";
    for (const ContextMark& mark : project.contexts.marks) {
        out << utf8ToCp1252(mark.name) << "=" << project.listDirectory << mark.file;
        if (!mark.anchor.empty()) out << "#" << utf8ToCp1252(mark.anchor);
        out << "\n";
    }
    out << "\n[MAP]\n";
    for (const std::string& header : project.contexts.headers) {
        out << "#include " << project.listDirectory << header << "\n";
    }
    out << "\n";
}

}  // namespace

int writeProjectFile(const HelpProject& project, const std::string& baseName,
                     const std::string& compiledFile) {
    FileTextStream out;
    if (int status = out.open(baseName + ".hhp")) return status;
    out << "[OPTIONS]\n"
           "Auto Index=Yes\n"
           "Compatibility=1.1 or later\n";
    out << "Compiled file=" << compiledFile << "\n";
    out << "Contents file=" << baseName << ".hhc\n";
    if (!project.defaultTopic.empty()) {
        out << "Default topic=" << project.listDirectory << project.defaultTopic << "\n";
    }
    out << "Display compile progress=Yes\n"
           "Enhanced decompilation=Yes\n";
    out << "Error log file=" << baseName << ".log\n";
    out << "Full-text search=Yes\n";
    out << "Index file=" << baseName << ".hhk\n";
    char languageId[16];
    std::snprintf(languageId, sizeof languageId, "0x%x", project.languageId);
    out << "Language=" << languageId << " " << utf8ToCp1252(project.languageName) << "\n";
    if (!project.title.empty()) out << "Title=" << utf8ToCp1252(project.title) << "\n";
    out << "\n\n[FILES]\n";
    for (const std::string& page : project.pages) out << project.listDirectory << page << "\n";
    out << "\n";
    if (project.contexts.used()) writeContextSections(project, out);
    out << "[INFOTYPES]\n";
    return out.close();
}

}  // namespace qv

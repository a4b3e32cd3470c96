// Template pages: a template's text with its substitution point replaced by
// the contents tree or the index tree as nested HTML lists, or by the
// contexts' map when the point's target is "contexte".

#include "output/templates.h"

#include <tinyxml.h>

#include <cstring>

#include "io/messages.h"
#include "io/text_loading.h"
#include "model/status.h"
#include "output/context_literal.h"
#include "output/html_lists.h"
#include "text/input_encoding.h"
#include "xml/parse.h"

namespace qv {

namespace {

constexpr std::string_view kPointOpener = "<!-- <template ";

// The text up to its first NUL byte: templates are used as C strings.
std::string_view upToNul(const std::string& text) {
    return std::string_view(text.c_str(), std::strlen(text.c_str()));
}

}  // namespace

const char* describeTemplateProblem(TemplateProblem::Kind kind) {
    switch (kind) {
        case TemplateProblem::Kind::NoPoint:
            return "Impossible de trouver le point de substitution";
        case TemplateProblem::Kind::PointNotClosed:
            return "Impossible de trouver la fin du point de substitution";
        case TemplateProblem::Kind::BadParameters:
            return "Erreur \340 l'analyse des param\350tres de substitution";
        case TemplateProblem::Kind::NotTplExtension:
            return "Le fichier d'entr\351e n'a pas l'extension \".tpl\"";
        case TemplateProblem::Kind::None:
            break;
    }
    return "";
}

int prepareTemplate(const FileReader& reader, const std::string& templatePath, TemplateParts& parts,
                    TemplateProblem& problem) {
    problem = {};
    std::string text;
    if (int status = loadTextFile(reader, templatePath, text)) return status;
    const auto refuse = [&](TemplateProblem::Kind kind, std::size_t offset) {
        problem = {kind, offset};
        return kStatusBadTemplate;
    };

    std::size_t opener = text.find(kPointOpener);
    if (opener == std::string::npos) return refuse(TemplateProblem::Kind::NoPoint, 0);
    std::size_t closer = text.find("-->", opener + kPointOpener.size() - 1);
    if (closer == std::string::npos) return refuse(TemplateProblem::Kind::PointNotClosed, opener);
    std::size_t lineFeed = opener == 0 ? std::string::npos : text.rfind('\n', opener - 1);
    std::size_t lineStart = lineFeed == std::string::npos ? 0 : lineFeed + 1;

    std::string parameters = text.substr(opener + 4, closer - opener - 4);
    parts.before = text.substr(0, opener);
    parts.indent = text.substr(lineStart, opener - lineStart);
    parts.after = text.substr(closer + 3);

    // Templates are any 8-bit text: parameters that are not UTF-8 are left to
    // TinyXML's own detection, which takes their bytes as they are.
    const TiXmlEncoding encoding = validUtf8Prefix(parameters) == parameters.size()
                                       ? TIXML_ENCODING_UTF8
                                       : TIXML_ENCODING_UNKNOWN;
    TiXmlDocument document;
    if (parseXml(document, parameters, encoding, kListLimits).failed()) {
        return refuse(TemplateProblem::Kind::BadParameters, opener);
    }
    parts.linkTarget.clear();
    if (const TiXmlElement* point = document.FirstChildElement("template")) {
        if (const char* target = point->Attribute("target")) parts.linkTarget = target;
    }

    parts.outputPath = templateOutputPath(templatePath);
    if (parts.outputPath.empty()) {
        return refuse(TemplateProblem::Kind::NotTplExtension, std::string::npos);
    }
    return 0;
}

std::string templateOutputPath(const std::string& templatePath) {
    // Only the file's own name is searched: a folder named "v.tpl" must not
    // send the page into a folder "v.html".
    const std::size_t nameStart = templatePath.find_last_of("/\\") + 1;  // 0 without a folder
    const std::size_t extension = templatePath.find(".tpl", nameStart);
    if (extension == std::string::npos) return {};
    std::string outputPath = templatePath;
    outputPath.replace(extension, 4, ".html");
    return outputPath;
}

void writeTemplatePage(const TemplateParts& parts, const HelpProject& project, TemplateList list,
                       TextStream& out) {
    out << upToNul(parts.before);
    if (parts.linkTarget == kContextMapTarget) {
        writeContextLiteral(project.contexts, parts.indent, out);
    } else if (list == TemplateList::Contents) {
        writeContentsHtml(project.contentsRoot, project.utf8Titles, parts.linkTarget, parts.indent,
                          out);
    } else {
        writeIndexHtml(project.indexRoot, project.utf8Titles, parts.linkTarget, parts.indent, out);
    }
    out << upToNul(parts.after);
}

namespace {

int expandTemplate(const HelpProject& project, const FileReader& reader,
                   const std::string& templatePath, TemplateList list) {
    printMessage({"Traitement du template \"", Verbatim{templatePath}, "\""});
    TemplateParts parts;
    TemplateProblem problem;
    if (int status = prepareTemplate(reader, templatePath, parts, problem)) {
        if (problem.kind != TemplateProblem::Kind::None) {
            printMessage({describeTemplateProblem(problem.kind)});
        }
        return status;
    }
    FileTextStream out;
    if (int status = out.open(parts.outputPath)) return status;
    writeTemplatePage(parts, project, list, out);
    return out.close();
}

}  // namespace

int expandContentsTemplate(const HelpProject& project, const FileReader& reader,
                           const std::string& templatePath) {
    return expandTemplate(project, reader, templatePath, TemplateList::Contents);
}

int expandIndexTemplate(const HelpProject& project, const FileReader& reader,
                        const std::string& templatePath) {
    return expandTemplate(project, reader, templatePath, TemplateList::Index);
}

}  // namespace qv

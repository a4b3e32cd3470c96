// Template pages: a template's text with its substitution point replaced by
// the contents tree or the index tree as nested HTML lists.

#include <tinyxml.h>

#include <cstring>

#include "driver/help_project.h"
#include "driver/loading.h"
#include "driver/messages.h"
#include "driver/text_stream.h"
#include "page/xml_parse.h"

namespace qv {

namespace {

constexpr std::string_view kPointOpener = "<!-- <template ";

// The text up to its first NUL byte: templates are used as C strings.
std::string_view upToNul(const std::string& text) {
    return std::string_view(text.c_str(), std::strlen(text.c_str()));
}

}  // namespace

int HelpProject::prepareTemplate(const std::string& templatePath, TemplateParts& parts) {
    printMessage({"Traitement du template \"", templatePath, "\""});
    std::string text;
    if (int status = loadTextFile(templatePath, text)) return status;

    std::size_t opener = text.find(kPointOpener);
    if (opener == std::string::npos) {
        printMessage({"Impossible de trouver le point de substitution"});
        return kStatusBadTemplate;
    }
    std::size_t closer = text.find("-->", opener + kPointOpener.size() - 1);
    if (closer == std::string::npos) {
        printMessage({"Impossible de trouver la fin du point de substitution"});
        return kStatusBadTemplate;
    }
    std::size_t lineFeed = opener == 0 ? std::string::npos : text.rfind('\n', opener - 1);
    std::size_t lineStart = lineFeed == std::string::npos ? 0 : lineFeed + 1;

    std::string parameters = text.substr(opener + 4, closer - opener - 4);
    parts.before = text.substr(0, opener);
    parts.indent = text.substr(lineStart, opener - lineStart);
    parts.after = text.substr(closer + 3);

    TiXmlDocument document;
    if (parseXml(document, parameters).found() || document.Error()) {
        printMessage({"Erreur \340 l'analyse des param\350tres de substitution"});
        return kStatusBadTemplate;
    }
    linkTarget.clear();
    if (const TiXmlElement* point = document.FirstChildElement("template")) {
        if (const char* target = point->Attribute("target")) linkTarget = target;
    }

    std::size_t extension = templatePath.find(".tpl");
    if (extension == std::string::npos) {
        printMessage({"Le fichier d'entr\351e n'a pas l'extension \".tpl\""});
        return kStatusBadTemplate;
    }
    parts.outputPath = templatePath;
    parts.outputPath.replace(extension, 4, ".html");
    return 0;
}

namespace {

using TreeWriter = void (TopicNode::*)(const HelpProject&, TextStream&, std::string&) const;

int expandTemplate(HelpProject& project, const std::string& templatePath, const TopicNode& root,
                   TreeWriter writer) {
    TemplateParts parts;
    if (int status = project.prepareTemplate(templatePath, parts)) return status;
    FileTextStream out;
    if (int status = out.open(parts.outputPath)) return status;
    out << upToNul(parts.before);
    (root.*writer)(project, out, parts.indent);
    out << upToNul(parts.after);
    return out.close();
}

}  // namespace

int HelpProject::expandContentsTemplate(const std::string& templatePath) {
    return expandTemplate(*this, templatePath, contentsRoot, &TopicNode::writeContentsHtml);
}

int HelpProject::expandIndexTemplate(const std::string& templatePath) {
    return expandTemplate(*this, templatePath, indexRoot, &TopicNode::writeIndexHtml);
}

}  // namespace qv

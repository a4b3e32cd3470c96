#pragma once
#include <string>

#include "io/file_reader.h"
#include "io/text_stream.h"
#include "model/help_project.h"

namespace qv {

// A template split at its substitution point, "<!-- <template ... -->".
struct TemplateParts {
    std::string before;      // the text before the point
    std::string indent;      // the text before the point on its own line
    std::string after;       // the text after the point
    std::string linkTarget;  // the point's "target" attribute, or empty
    std::string outputPath;  // the template's path with ".html" for ".tpl"
};

// Why a template cannot be used.
struct TemplateProblem {
    enum class Kind {
        None,
        NoPoint,          // no "<!-- <template "
        PointNotClosed,   // no "-->" after it
        BadParameters,    // what the point holds does not parse
        NotTplExtension,  // the template's path has no ".tpl" to replace
    };
    Kind kind = Kind::None;
    // Where it is, in the template's text as loaded (line ends folded): the
    // point's "<!--", or 0 when there is no point; npos for the extension.
    std::size_t offset = std::string::npos;
};

// The line a run prints for a problem (code page 1252).
const char* describeTemplateProblem(TemplateProblem::Kind kind);

// Loads the template and splits it, printing nothing. Returns 0, the
// loader's status, or kStatusBadTemplate with problem telling why the
// template cannot be used.
int prepareTemplate(const FileReader& reader, const std::string& templatePath, TemplateParts& parts,
                    TemplateProblem& problem);

// The path of a template's page: the template's path with the first ".tpl"
// of its file name (after the last "/" or "\\") made ".html", so "a.tpl.bak"
// gives "a.html.bak". Empty when the file name holds no ".tpl" (case counts).
std::string templateOutputPath(const std::string& templatePath);

// Which tree a template page shows.
enum class TemplateList { Contents, Index };

// The template page: the text before the point, then the tree of list as
// HTML lists, or the contexts as a JavaScript object literal when the
// point's target is kContextMapTarget, then the text after it.
void writeTemplatePage(const TemplateParts& parts, const HelpProject& project, TemplateList list,
                       TextStream& out);

// The page of a contents template (the contents tree) or of an index
// template (the sorted index tree), written beside the template; either
// kind gives the contexts' map instead when its point asks for it.
int expandContentsTemplate(const HelpProject& project, const FileReader& reader,
                           const std::string& templatePath);
int expandIndexTemplate(const HelpProject& project, const FileReader& reader,
                        const std::string& templatePath);

}  // namespace qv

#pragma once
#include <string>

#include "check/finding_report.h"
#include "helpset/list_path.h"
#include "io/file_reader.h"

namespace qv {

// "quorvane --check LIST": reads the list file, every page and every
// template as a run reads them, through the same code, goes on past every
// failure, writes nothing, and prints every finding, then one summary line.
// argument is the list file as given. Returns 2 when there is an error, 1
// when there are only warnings, 0 when nothing was found.
// jobs threads read the pages (see readHelpSet). compiledHelp (--chm): also
// what the compiled help would miss.
int runCheck(const ListPath& listPath, const std::string& argument, unsigned jobs = 1,
             bool compiledHelp = false);

// The same with the files reader serves, the report's lines going to writeLine.
int checkHelpSet(const FileReader& reader, const ListPath& listPath, const std::string& argument,
                 const ReportWriter& writeLine, unsigned jobs = 1, bool compiledHelp = false);

}  // namespace qv

#include "driver/run.h"

#include <algorithm>
#include <cstring>

#include <build_stamp.h>

#include "check/check_help_set.h"
#include "driver/command_line.h"
#include "driver/usage.h"
#include "helpset/list_path.h"
#include "io/messages.h"
#include "model/status.h"
#include "platform/console.h"
#include "platform/file_system.h"
#include "platform/large_stack.h"
#include "platform/threads.h"
#include "run/run_help_set.h"

namespace qv {

int exitStatusFor(int status) {
    int low = status & 0xFF;
    return (status != 0 && low == 0) ? 1 : low;
}

int runQuorvane(int argc, const char* const* argv) {
    prepareConsole();
    const CommandLine line = parseCommandLine(argc, argv);
    prepareMessages(line.check ? Utf8Messages::InUtf8Locale : Utf8Messages::OnUtf8Terminal);
    removeTemporaryFilesOnSignal();
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        printUsage();
        printOptions();
        return kStatusOk;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        printMessage({"quorvane " QUORVANE_VERSION});
        printMessage({"Quorvane - compiled on " QUORVANE_BUILD_STAMP});
        return kStatusOk;
    }
    const std::vector<std::string>& arguments = line.arguments;
    const bool counted =
        line.check ? arguments.size() == 1 : arguments.size() == 2 || arguments.size() == 3;
    if (line.check && line.understood && !counted) {
        printCheckUsage();
        return kStatusUsage;
    }
    if (!line.understood || !counted) {
        printUsage();
        return kStatusUsage;
    }
    const unsigned jobs = line.jobs != 0 ? line.jobs : std::min(processorsAvailable(), kMaxJobs);
    // Deeply nested pages and lists make the parser and the tree walks recurse
    // deeply: the run goes on a thread with room for that (and so does each
    // thread that reads pages ahead of it).
    if (line.check) {
        const std::string& argument = arguments[0];
        return runWithLargeStack(
            [&] { return runCheck(splitListPath(argument), argument, jobs, line.chm); });
    }
    printMessage({"Quorvane - compiled on " QUORVANE_BUILD_STAMP});
    printMessage({""});

    const ListPath listPath = splitListPath(arguments[0]);
    const std::string& baseName = arguments[1];
    const std::string compiledFile = arguments.size() == 3 ? arguments[2] : baseName + ".chm";
    return runWithLargeStack(
        [&] { return runHelpSet(listPath, baseName, compiledFile, jobs, line.chm); });
}

}  // namespace qv

#include "platform/console.h"

#include <langinfo.h>
#include <unistd.h>

#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstring>

namespace qv {

bool standardOutputIsTerminal() { return isatty(STDOUT_FILENO) != 0; }

bool localeUsesUtf8() {
    bool utf8 = false;
    if (std::setlocale(LC_CTYPE, "") != nullptr) {
        const char* codeset = nl_langinfo(CODESET);
        utf8 = codeset != nullptr && std::strcmp(codeset, "UTF-8") == 0;
    }
    std::setlocale(LC_CTYPE, "C");
    return utf8;
}

void prepareConsole() { std::signal(SIGPIPE, SIG_IGN); }

void writeConsole(std::string_view bytes) {
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
}

}  // namespace qv

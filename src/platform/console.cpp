#include "platform/console.h"

#include <csignal>
#include <cstdio>

namespace qv {

void prepareConsole() { std::signal(SIGPIPE, SIG_IGN); }

void writeConsole(std::string_view bytes) {
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
}

}  // namespace qv

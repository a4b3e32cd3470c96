#include "platform/console.h"

#include <cstdio>

namespace qv {

void writeConsole(std::string_view bytes) {
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
}

}  // namespace qv

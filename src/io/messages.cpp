#include "io/messages.h"

#include "platform/console.h"
#include "platform/system_messages.h"
#include "text/tidy_text.h"

namespace qv {

void printMessage(std::initializer_list<std::string_view> fragments) {
    std::string line;
    for (std::string_view fragment : fragments) line.append(fragment);
    line.push_back('\n');
    writeConsole(line);
}

void printStatusMessage(int status) {
    std::string text = systemMessageText(status);
    tidyText(text);
    printMessage({text});
}

}  // namespace qv

#include "io/messages.h"

#include "platform/console.h"
#include "platform/system_messages.h"
#include "text/tidy_text.h"

namespace qv {

namespace {

thread_local MessageCapture* tCapture = nullptr;

}  // namespace

MessageCapture::MessageCapture(Keep keep) : keep_(keep), outer_(tCapture) { tCapture = this; }

MessageCapture::~MessageCapture() { tCapture = outer_; }

void printMessage(std::initializer_list<std::string_view> fragments) {
    if (tCapture != nullptr) {
        if (tCapture->keep_ == MessageCapture::Keep::Nothing) return;
        std::string& line = tCapture->lines_.emplace_back();
        for (std::string_view fragment : fragments) line.append(fragment);
        return;
    }
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

#include "io/messages.h"

#include <atomic>

#include "platform/console.h"
#include "platform/system_messages.h"
#include "text/cp1252.h"
#include "text/tidy_text.h"

namespace qv {

namespace {

// Whether the tool's own words are written in UTF-8 rather than code page
// 1252: chosen once by prepareMessages at start, read by every line printed,
// from whichever thread prints it.
std::atomic<bool> ownTextAsUtf8{false};

template <typename Pieces>
void printLine(const Pieces& pieces) {
    std::string line;
    for (const MessagePiece& piece : pieces) {
        if (piece.own && ownTextAsUtf8) {
            appendCp1252AsUtf8(line, piece.text);
        } else {
            line.append(piece.text);
        }
    }
    line.push_back('\n');
    writeConsole(line);
}

}  // namespace

void prepareMessages(Utf8Messages rule) {
    ownTextAsUtf8 =
        (rule == Utf8Messages::InUtf8Locale || standardOutputIsTerminal()) && localeUsesUtf8();
}

void printMessage(std::initializer_list<MessagePiece> pieces) { printLine(pieces); }

void printMessage(const std::vector<MessagePiece>& pieces) { printLine(pieces); }

void printStatusMessage(int status) {
    std::string text = systemMessageText(status);
    tidyText(text);
    printMessage({text});
}

}  // namespace qv

#include "io/messages.h"

#include "platform/console.h"
#include "platform/system_messages.h"
#include "text/cp1252.h"
#include "text/tidy_text.h"

namespace qv {

namespace {

bool ownTextAsUtf8 = false;
thread_local MessageCapture* tCapture = nullptr;

}  // namespace

void prepareMessages() { ownTextAsUtf8 = standardOutputIsUtf8Terminal(); }

MessageCapture::MessageCapture(Keep keep) : keep_(keep), outer_(tCapture) { tCapture = this; }

MessageCapture::~MessageCapture() { tCapture = outer_; }

template <typename Pieces>
void printLine(const Pieces& pieces) {
    if (tCapture != nullptr) {
        // Captured lines keep their bytes as the tool makes them.
        if (tCapture->keep_ == MessageCapture::Keep::Nothing) return;
        std::string& line = tCapture->lines_.emplace_back();
        for (const MessagePiece& piece : pieces) line.append(piece.text);
        return;
    }
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

void printMessage(std::initializer_list<MessagePiece> pieces) { printLine(pieces); }

void printMessage(const std::vector<MessagePiece>& pieces) { printLine(pieces); }

void printStatusMessage(int status) {
    std::string text = systemMessageText(status);
    tidyText(text);
    printMessage({text});
}

}  // namespace qv

#include "text/c_defines.h"

#include <optional>

namespace qv {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isIdentifierStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

int hexDigit(char c) {
    if (isDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads one line of a header from its start.
class DefineLine {
public:
    explicit DefineLine(std::string_view line) : line_(line) {}

    std::optional<CDefine> read() {
        skipBlanks();
        if (!take("#")) return std::nullopt;
        skipBlanks();
        if (!take("define") || !skipBlanks()) return std::nullopt;
        CDefine define;
        define.column = at_ + 1;
        const std::size_t nameStart = at_;
        while (at_ < line_.size() && (isIdentifierStart(line_[at_]) || isDigit(line_[at_]))) ++at_;
        define.name = line_.substr(nameStart, at_ - nameStart);
        if (!isCIdentifier(define.name) || !skipBlanks()) return std::nullopt;
        if (!readNumber(define.value)) return std::nullopt;
        skipBlanks();
        if (at_ < line_.size() && !take("//") && !take("/*")) return std::nullopt;
        return define;
    }

private:
    bool skipBlanks() {
        const std::size_t start = at_;
        while (at_ < line_.size() && isBlank(line_[at_])) ++at_;
        return at_ > start;
    }

    bool take(std::string_view word) {
        if (line_.substr(at_, word.size()) != word) return false;
        at_ += word.size();
        return true;
    }

    // A decimal number without leading zeros (C reads "010" as octal), or
    // "0x" and hexadecimal digits; it must end where the token ends.
    bool readNumber(std::uint32_t& value) {
        const bool hex = take("0x") || take("0X");
        const unsigned base = hex ? 16 : 10;
        const std::size_t start = at_;
        std::uint64_t number = 0;
        for (; at_ < line_.size(); ++at_) {
            const int digit =
                hex ? hexDigit(line_[at_]) : (isDigit(line_[at_]) ? line_[at_] - '0' : -1);
            if (digit < 0) break;
            number = number * base + static_cast<unsigned>(digit);
            if (number > UINT32_MAX) return false;
        }
        if (at_ == start) return false;
        if (!hex && line_[start] == '0' && at_ - start > 1) return false;
        if (at_ < line_.size() && !isBlank(line_[at_]) && line_[at_] != '/') return false;
        value = static_cast<std::uint32_t>(number);
        return true;
    }

    std::string_view line_;
    std::size_t at_ = 0;
};

}  // namespace

bool isCIdentifier(std::string_view name) {
    if (name.empty() || !isIdentifierStart(name[0])) return false;
    for (char c : name) {
        if (!isIdentifierStart(c) && !isDigit(c)) return false;
    }
    return true;
}

std::vector<CDefine> readDefines(std::string_view text) {
    std::vector<CDefine> defines;
    std::size_t lineNumber = 1;
    for (std::size_t start = 0; start < text.size(); ++lineNumber) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        if (auto define = DefineLine(text.substr(start, end - start)).read()) {
            define->line = lineNumber;
            defines.push_back(std::move(*define));
        }
        start = end + 1;
    }
    return defines;
}

}  // namespace qv

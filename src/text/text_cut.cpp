#include "text/text_cut.h"

#include <algorithm>

namespace qv {

TextCut findTextCut(std::string_view text) {
    const std::size_t nul = text.find('\0');
    if (nul == std::string_view::npos) return {};
    const std::string_view head = text.substr(0, 256);
    if (static_cast<std::size_t>(std::count(head.begin(), head.end(), '\0')) * 3 >= head.size()) {
        return {TextCut::Kind::Utf16WithoutMark, nul};
    }
    const std::size_t rest = text.find_first_not_of(std::string_view(" \t\r\n\f\v\0", 7), nul);
    if (rest == std::string_view::npos) return {};
    return {TextCut::Kind::Nul, nul};
}

}  // namespace qv

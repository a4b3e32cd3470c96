#include "text/links.h"

#include <cctype>
#include <vector>

#include "text/ascii.h"

namespace qv {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string percentDecoded(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 &&
            hexValue(text[i + 2]) >= 0) {
            out.push_back(static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2])));
            i += 2;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

// Whether value starts with a URL scheme ("name:" before any "/", "?", "#").
bool hasScheme(std::string_view value) {
    if (value.empty() || !std::isalpha(static_cast<unsigned char>(value[0]))) return false;
    for (char c : value) {
        if (c == ':') return true;
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.') {
            return false;
        }
    }
    return false;
}

}  // namespace

std::string helpSetPath(std::string_view name) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = name.find_first_of("\\/", start);
        if (end == std::string_view::npos) end = name.size();
        const std::string_view part = name.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty() && parts.back() != "..") {
                parts.pop_back();
            } else {
                parts.push_back(part);
            }
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string path;
    for (std::string_view part : parts) {
        if (!path.empty()) path.push_back('/');
        path.append(part);
    }
    return path;
}

LinkTarget followLink(std::string_view pageName, std::string_view value) {
    LinkTarget target;
    while (!value.empty() && isHtmlBlank(value.front())) value.remove_prefix(1);
    while (!value.empty() && isHtmlBlank(value.back())) value.remove_suffix(1);
    if (value.empty() || hasScheme(value) || value[0] == '/' || value[0] == '\\') return target;
    target.local = true;
    std::string_view path = value;
    const std::size_t hash = value.find('#');
    if (hash != std::string_view::npos) {
        target.hasFragment = true;
        target.fragmentAsWritten = value.substr(hash + 1);
        target.fragment = percentDecoded(target.fragmentAsWritten);
        path = value.substr(0, hash);
    }
    path = path.substr(0, path.find('?'));
    if (path.empty()) return target;
    const std::size_t slash = pageName.find_last_of("\\/");
    const std::string_view directory =
        slash == std::string_view::npos ? std::string_view() : pageName.substr(0, slash + 1);
    target.file = helpSetPath(std::string(directory) + percentDecoded(path));
    return target;
}

}  // namespace qv

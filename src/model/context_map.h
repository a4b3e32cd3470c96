#pragma once
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace qv {

// A place that a page marks as the topic of a context (ctx="NAME"): the
// topic a program opens when it asks for NAME, or for the number the
// application's headers give NAME.
struct ContextMark {
    std::string name;    // as the page writes it
    std::string file;    // the page as the list file names it
    std::string anchor;  // the anchor current at the mark; empty for the page itself
};

// The contexts of a help set: the marks in the order the pages make them,
// the headers the list names (as it names them), and the numbers those
// headers define ("#define NAME NUMBER"), once they are read: the first
// definition of each name.
struct ContextMap {
    std::vector<ContextMark> marks;
    std::vector<std::string> headers;
    std::unordered_map<std::string, std::uint32_t> numbers;

    // Whether the project file gets its [ALIAS] and [MAP] sections.
    bool used() const { return !marks.empty() || !headers.empty(); }
    // The number of name, or null when no header defines it.
    const std::uint32_t* numberOf(const std::string& name) const {
        const auto found = numbers.find(name);
        return found == numbers.end() ? nullptr : &found->second;
    }
};

}  // namespace qv

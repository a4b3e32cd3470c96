#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

struct FtsTopic {
    std::uint32_t topic;    // its number in #TOPICS
    std::string title;      // UTF-8
    std::string_view html;  // the page's text, UTF-8 (decoded as the run decodes pages)
};

// The $FIftiMain file. languageId: the help's Windows language identifier
// (HelpProject::languageId).
std::string buildFullTextIndex(const std::vector<FtsTopic>& topics, unsigned languageId);

}  // namespace qv

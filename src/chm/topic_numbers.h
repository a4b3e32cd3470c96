#pragma once
#include <cstdint>
#include <string>
namespace qv {
// Numbers the topics of the compiled help (their entries in #TOPICS), so
// that the indexes can refer to them.
class TopicNumbers {
public:
    virtual ~TopicNumbers() = default;
    // local: the page and fragment as the .hhc/.hhk "Local" value gives it
    // (listDirectoryUrl + page [+ "#" + anchor]); title: code page 1252.
    virtual std::uint32_t topicOf(const std::string& local, const std::string& title) = 0;
};
}  // namespace qv

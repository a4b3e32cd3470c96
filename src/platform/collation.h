#pragma once
#include <string>
#include <string_view>

struct UCollator;

namespace qv {

// Linguistic order of keywords: French rules, case ignored, accents
// significant. Opened once and reused for every key of a run.
class KeywordCollator {
public:
    KeywordCollator();
    ~KeywordCollator();
    KeywordCollator(const KeywordCollator&) = delete;
    KeywordCollator& operator=(const KeywordCollator&) = delete;

    // A byte string whose unsigned byte order is the keyword order, for the
    // text whose UTF-16 form is units. When the collation service cannot be
    // opened, the key is fallback itself (the text's own bytes).
    std::string sortKey(std::u16string_view units, std::string_view fallback) const;

private:
    ::UCollator* collator_ = nullptr;
};

}  // namespace qv

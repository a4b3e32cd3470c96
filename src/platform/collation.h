#pragma once
#include <memory>
#include <string>

struct UCollator;

namespace qv {

// Linguistic order of code page 1252 keywords: French rules, case ignored,
// accents significant. Opened once and reused for every comparison of a run.
// When the collation service cannot be opened, the order is that of the
// bytes taken as unsigned values.
class KeywordCollator {
public:
    KeywordCollator();
    ~KeywordCollator();
    KeywordCollator(const KeywordCollator&) = delete;
    KeywordCollator& operator=(const KeywordCollator&) = delete;

    bool linguistic() const { return collator_ != nullptr; }

    // A byte string whose unsigned byte order is the keyword order.
    std::string sortKey(const std::string& cp1252Text) const;

private:
    ::UCollator* collator_ = nullptr;
};

}  // namespace qv

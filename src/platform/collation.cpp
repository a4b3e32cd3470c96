#include "platform/collation.h"

#include <unicode/ucol.h>
#include <unicode/utf16.h>

#include <vector>

#include "platform/cp1252.h"

namespace qv {

KeywordCollator::KeywordCollator() {
    UErrorCode error = U_ZERO_ERROR;
    UCollator* collator = ucol_open("fr", &error);
    if (U_FAILURE(error) || collator == nullptr) {
        if (collator != nullptr) ucol_close(collator);
        return;
    }
    ucol_setStrength(collator, UCOL_SECONDARY);
    collator_ = collator;
}

KeywordCollator::~KeywordCollator() {
    if (collator_ != nullptr) ucol_close(collator_);
}

std::string KeywordCollator::sortKey(const std::string& cp1252Text) const {
    if (collator_ == nullptr) return cp1252Text;
    // Keywords are short: stack buffers for them, the heap past that.
    constexpr std::size_t kShort = 256;
    UChar shortUnits[kShort];
    std::vector<UChar> longUnits;
    UChar* units = shortUnits;
    if (cp1252Text.size() > kShort) {
        longUnits.resize(cp1252Text.size());
        units = longUnits.data();
    }
    for (std::size_t i = 0; i < cp1252Text.size(); ++i) {
        units[i] = static_cast<UChar>(codePointFromCp1252(static_cast<unsigned char>(cp1252Text[i])));
    }
    const auto length = static_cast<int32_t>(cp1252Text.size());
    uint8_t shortKey[4 * kShort];
    int32_t needed = ucol_getSortKey(collator_, units, length, shortKey, sizeof shortKey);
    // The key ends with a NUL that is not part of the order.
    if (needed <= static_cast<int32_t>(sizeof shortKey)) {
        return std::string(reinterpret_cast<const char*>(shortKey), needed > 0 ? needed - 1 : 0);
    }
    std::string key(static_cast<std::size_t>(needed), '\0');
    needed = ucol_getSortKey(collator_, units, length, reinterpret_cast<uint8_t*>(key.data()),
                             static_cast<int32_t>(key.size()));
    key.resize(needed > 0 ? static_cast<std::size_t>(needed - 1) : 0);
    return key;
}

}  // namespace qv

#include "platform/collation.h"

#include <unicode/ucol.h>

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

std::string KeywordCollator::sortKey(std::u16string_view units, std::string_view fallback) const {
    if (collator_ == nullptr) return std::string(fallback);
    const auto length = static_cast<int32_t>(units.size());
    // Keywords are short: a stack buffer for their keys, the heap past that.
    uint8_t shortKey[1024];
    int32_t needed = ucol_getSortKey(collator_, units.data(), length, shortKey, sizeof shortKey);
    // The key ends with a NUL that is not part of the order.
    if (needed <= static_cast<int32_t>(sizeof shortKey)) {
        return std::string(reinterpret_cast<const char*>(shortKey), needed > 0 ? needed - 1 : 0);
    }
    std::string key(static_cast<std::size_t>(needed), '\0');
    needed =
        ucol_getSortKey(collator_, units.data(), length, reinterpret_cast<uint8_t*>(key.data()),
                        static_cast<int32_t>(key.size()));
    key.resize(needed > 0 ? static_cast<std::size_t>(needed - 1) : 0);
    return key;
}

}  // namespace qv

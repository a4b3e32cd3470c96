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
    std::vector<UChar> units;
    units.reserve(cp1252Text.size());
    for (unsigned char byte : cp1252Text) {
        units.push_back(static_cast<UChar>(codePointFromCp1252(byte)));
    }
    std::string key(units.size() * 4 + 16, '\0');
    for (;;) {
        int32_t needed = ucol_getSortKey(collator_, units.data(), static_cast<int32_t>(units.size()),
                                         reinterpret_cast<uint8_t*>(key.data()),
                                         static_cast<int32_t>(key.size()));
        if (needed <= static_cast<int32_t>(key.size())) {
            // The key ends with a NUL that is not part of the order.
            key.resize(needed > 0 ? static_cast<std::size_t>(needed - 1) : 0);
            return key;
        }
        key.assign(static_cast<std::size_t>(needed), '\0');
    }
}

}  // namespace qv

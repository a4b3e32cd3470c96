#pragma once
#include <cstdint>
#include <string>

namespace qv {

// SOURCE_DATE_EPOCH when the environment sets it to a decimal number of
// seconds (the reproducible-builds convention): true and the value.
bool sourceDateEpoch(std::int64_t& seconds);

// The last modification of a file, in seconds since 1970; false when it
// cannot be read.
bool modificationTime(const std::string& path, std::int64_t& seconds);

}  // namespace qv

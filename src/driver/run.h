#pragma once

namespace qv {

// The whole program: usage or banner, then a run or a check. Returns the
// run's status: 0, -1 for a wrong argument count, or the first failure.
int runQuorvane(int argc, const char* const* argv);

// The process exit status for a run's status: its low 8 bits, or 1 when a
// failure's low 8 bits are all zero.
int exitStatusFor(int status);

}  // namespace qv

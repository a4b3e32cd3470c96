#pragma once
#include <functional>

namespace qv {

// Runs work on a thread with a stack far larger than the default, and waits
// for it. The XML parser and the tree walks recurse once per nesting level,
// so deeply nested input needs the room. Returns work's result; runs it on
// the calling thread when no such thread can be created.
int runWithLargeStack(const std::function<int()>& work);

}  // namespace qv

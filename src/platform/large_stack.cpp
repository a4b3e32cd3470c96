#include "platform/large_stack.h"

#include "platform/threads.h"

namespace qv {

int runWithLargeStack(const std::function<int()>& work) {
    int result = 0;
    LargeStackThread thread;
    if (!thread.start([&] { result = work(); })) return work();
    thread.join();
    return result;
}

}  // namespace qv

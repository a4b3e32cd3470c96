#pragma once
#include <functional>
#include <memory>

namespace qv {

// A thread with a stack far larger than the default. The XML parser and the
// tree walks recurse once per nesting level, so deeply nested input needs
// the room on every thread that parses or walks.
class LargeStackThread {
public:
    LargeStackThread();
    ~LargeStackThread();  // waits for the work
    LargeStackThread(const LargeStackThread&) = delete;
    LargeStackThread& operator=(const LargeStackThread&) = delete;

    // Starts work on the new thread. False when no such thread can be
    // created: then work is not run.
    bool start(std::function<void()> work);
    // Waits for the work to end (at once when it never started).
    void join();

private:
    struct Handle;
    std::function<void()> work_;
    std::unique_ptr<Handle> handle_;
};

// How many processors this process may run on (its CPU affinity), at least 1.
unsigned processorsAvailable();

}  // namespace qv

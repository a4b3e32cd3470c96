#include "platform/threads.h"

#include <pthread.h>
#include <sched.h>
#include <unistd.h>

namespace qv {

namespace {

// Reserved address space only: pages are committed as the stack grows.
constexpr std::size_t kStackBytes = std::size_t{1} << 30;

void* runWork(void* work) {
    (*static_cast<std::function<void()>*>(work))();
    return nullptr;
}

}  // namespace

struct LargeStackThread::Handle {
    pthread_t thread;
};

LargeStackThread::LargeStackThread() = default;

LargeStackThread::~LargeStackThread() { join(); }

bool LargeStackThread::start(std::function<void()> work) {
    if (handle_) return false;
    work_ = std::move(work);
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0) return false;
    auto handle = std::make_unique<Handle>();
    const bool started = pthread_attr_setstacksize(&attributes, kStackBytes) == 0 &&
                         pthread_create(&handle->thread, &attributes, runWork, &work_) == 0;
    pthread_attr_destroy(&attributes);
    if (started) handle_ = std::move(handle);
    return started;
}

void LargeStackThread::join() {
    if (!handle_) return;
    pthread_join(handle_->thread, nullptr);
    handle_.reset();
}

unsigned processorsAvailable() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0) {
        const int count = CPU_COUNT(&set);
        if (count > 0) return static_cast<unsigned>(count);
    }
    // More processors than a cpu_set_t holds, or no affinity to read.
    const long online = sysconf(_SC_NPROCESSORS_ONLN);
    return online > 0 ? static_cast<unsigned>(online) : 1;
}

}  // namespace qv

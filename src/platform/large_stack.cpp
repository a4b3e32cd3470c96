#include "platform/large_stack.h"

#include <pthread.h>

namespace qv {

namespace {

// Reserved address space only: pages are committed as the stack grows.
constexpr std::size_t kStackBytes = std::size_t{1} << 30;

struct Job {
    const std::function<int()>* work;
    int result;
};

void* runJob(void* argument) {
    Job* job = static_cast<Job*>(argument);
    job->result = (*job->work)();
    return nullptr;
}

}  // namespace

int runWithLargeStack(const std::function<int()>& work) {
    Job job{&work, 0};
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0) return work();
    pthread_t thread;
    bool started = pthread_attr_setstacksize(&attributes, kStackBytes) == 0 &&
                   pthread_create(&thread, &attributes, runJob, &job) == 0;
    pthread_attr_destroy(&attributes);
    if (!started) return work();
    pthread_join(thread, nullptr);
    return job.result;
}

}  // namespace qv

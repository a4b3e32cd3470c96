// The pool that prepares pages ahead of the list walk. Workers take the
// pages in list order; the walk takes the results in the same order, so that
// everything it does (messages, the trees, a diagnostic copy) happens as if
// each page were read the moment its entry is met.

#include "driver/page_pipeline.h"

#include <algorithm>

#include "io/text_loading.h"
#include "platform/threads.h"

namespace qv {

PageResult loadAndPreparePage(const FileReader& reader, const std::string& path,
                              bool keepLoaded) {
    PageResult result;
    std::string text;
    result.loadStatus = loadMarkupFile(reader, path, text, &result.decoding);
    result.bytes = text.size();
    if (result.loadStatus == 0) result.page = preparePage(std::move(text), keepLoaded);
    return result;
}

PagePipeline::PagePipeline(PagePreparer prepare, unsigned jobs, std::size_t aheadBytes)
    : prepare_(std::move(prepare)), jobs_(jobs), aheadBytes_(aheadBytes) {}

PagePipeline::~PagePipeline() { stop(); }

void PagePipeline::start(std::vector<std::string> paths) {
    stop();
    paths_ = std::move(paths);
    ready_.clear();
    ready_.resize(paths_.size());
    nextStart_ = nextTake_ = readyBytes_ = 0;
    stopped_ = false;
    // The walk prepares a page itself when no worker has started it, so a
    // list of one page needs none.
    const std::size_t wanted =
        jobs_ < 2 || paths_.size() < 2 ? 0 : std::min<std::size_t>(jobs_, paths_.size() - 1);
    aheadPages_ = kAheadPagesPerWorker * wanted;
    for (std::size_t i = 0; i < wanted; ++i) {
        auto worker = std::make_unique<LargeStackThread>();
        if (!worker->start([this] { work(); })) break;  // fewer threads, or none
        workers_.push_back(std::move(worker));
    }
}

bool PagePipeline::mayStartAnother() const {
    return nextStart_ < paths_.size() && readyBytes_ < aheadBytes_ &&
           nextStart_ - nextTake_ < aheadPages_;
}

void PagePipeline::work() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        roomAhead_.wait(lock, [this] {
            return stopped_ || nextStart_ >= paths_.size() || mayStartAnother();
        });
        if (stopped_ || nextStart_ >= paths_.size()) return;
        const std::size_t index = nextStart_++;
        // Another idle worker may start the page after this one.
        if (mayStartAnother()) roomAhead_.notify_one();
        lock.unlock();
        auto result = std::make_unique<PageResult>(prepare_(paths_[index]));
        lock.lock();
        if (stopped_) {
            lock.unlock();
            return;  // result is dropped outside the lock
        }
        readyBytes_ += result->bytes;
        ready_[index] = std::move(result);
        if (index == nextTake_) pageReady_.notify_one();
    }
}

PageResult PagePipeline::take(const std::string& path) {
    // Only the walk's thread changes workers_.
    if (workers_.empty()) return prepare_(path);
    std::unique_lock<std::mutex> lock(mutex_);
    if (nextTake_ >= paths_.size() || paths_[nextTake_] != path) {
        // The walk does not go as foreseen: no more pages ahead.
        lock.unlock();
        stop();
        return prepare_(path);
    }
    const std::size_t index = nextTake_;
    if (index == nextStart_) {
        // No worker has started it: rather than wait, the walk prepares it.
        ++nextStart_;
        ++nextTake_;
        if (mayStartAnother()) roomAhead_.notify_one();
        lock.unlock();
        return prepare_(path);
    }
    pageReady_.wait(lock, [&] { return ready_[index] != nullptr; });
    std::unique_ptr<PageResult> result = std::move(ready_[index]);
    readyBytes_ -= result->bytes;
    ++nextTake_;
    if (mayStartAnother()) roomAhead_.notify_one();
    lock.unlock();
    return std::move(*result);
}

void PagePipeline::stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopped_ = true;
    }
    roomAhead_.notify_all();
    for (auto& worker : workers_) worker->join();
    workers_.clear();
    // Pages prepared for a walk that no longer takes them.
    std::vector<std::unique_ptr<PageResult>> dropped;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        dropped.swap(ready_);
        readyBytes_ = 0;
    }
}

}  // namespace qv

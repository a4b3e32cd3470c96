// The pool that prepares pages ahead of the list walk. Workers take the
// pages in list order; the walk takes the results in the same order, so that
// everything it does (messages, the trees, a diagnostic copy) happens as if
// each page were read the moment its entry is met.

#include "helpset/page_pipeline.h"

#include <algorithm>

#include "io/text_loading.h"
#include "platform/threads.h"

namespace qv {

namespace {

// Stands for the walk's own thread where a worker's number is expected.
constexpr std::size_t kWalk = static_cast<std::size_t>(-1);

// The reader as it reads pages ahead of the walk.
class AheadReader : public FileReader {
public:
    explicit AheadReader(const FileReader& reader) : reader_(reader) {}
    int read(const std::string& path, std::string& bytes) const override {
        return reader_.readAhead(path, bytes, kLargestPageAhead);
    }

private:
    const FileReader& reader_;
};

}  // namespace

PageResult loadAndPreparePage(const FileReader& reader, const std::string& path, bool keepLoaded,
                              PageSyntax syntax, bool ahead) {
    PageResult result;
    std::string text;
    InputDecoding decoding;
    result.loadStatus = ahead ? loadMarkupFile(AheadReader(reader), path, text, decoding)
                              : loadMarkupFile(reader, path, text, decoding);
    result.bytes = text.size();
    if (result.loadStatus == 0) {
        result.page = preparePage(path, std::move(text), std::move(decoding), keepLoaded, syntax);
    }
    return result;
}

void PagePipeline::GiveBack::operator()(PageResult* page) const {
    if (pipeline_ != nullptr) {
        pipeline_->giveBack(worker_, page);
    } else {
        delete page;
    }
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
    // The walk's thread is one of the jobs: it prepares the pages no worker
    // has started, so a list of one page needs none.
    const std::size_t wanted =
        jobs_ < 2 || paths_.size() < 2 ? 0 : std::min<std::size_t>(jobs_ - 1, paths_.size() - 1);
    aheadPages_ = kAheadPagesPerJob * (wanted + 1);
    for (std::size_t i = 0; i < wanted; ++i) workers_.push_back(std::make_unique<Worker>());
    for (std::size_t i = 0; i < wanted; ++i) {
        Worker& worker = *workers_[i];
        worker.ended = false;
        worker.thread = std::make_unique<LargeStackThread>();
        if (!worker.thread->start([this, i] { work(i); })) {
            // Fewer threads, or none: the walk prepares what they would have.
            std::lock_guard<std::mutex> lock(mutex_);
            worker.ended = true;
        }
    }
}

bool PagePipeline::mayStartAnother() const {
    return nextStart_ < paths_.size() && readyBytes_ < aheadBytes_ &&
           nextStart_ - nextTake_ < aheadPages_;
}

void PagePipeline::wakeIfRoomAhead() {
    // Waiting workers start again once half the room ahead is free.
    if (readyBytes_ <= aheadBytes_ / 2 && nextStart_ - nextTake_ <= aheadPages_ / 2) {
        for (auto& worker : workers_) {
            if (worker->waiting) worker->wake.notify_one();
        }
    }
}

void PagePipeline::work(std::size_t self) {
    Worker& worker = *workers_[self];
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        if (!worker.done.empty()) {
            // Pages this worker built, freed here before it builds another.
            std::vector<std::unique_ptr<PageResult>> done;
            done.swap(worker.done);
            worker.doneBytes = 0;
            lock.unlock();
            done.clear();
            lock.lock();
            continue;
        }
        if (stopped_ || nextStart_ >= paths_.size()) break;
        if (!mayStartAnother()) {
            worker.waiting = true;
            worker.wake.wait(lock);
            worker.waiting = false;
            continue;
        }
        const std::size_t index = nextStart_++;
        lock.unlock();
        auto page = std::make_unique<PageResult>(prepare_(paths_[index], true));
        lock.lock();
        if (stopped_) {
            lock.unlock();
            page.reset();
            lock.lock();
            break;
        }
        readyBytes_ += page->bytes;
        ready_[index] = {std::move(page), self};
        if (index == nextTake_) pageReady_.notify_one();
    }
    worker.ended = true;
}

PagePipeline::Page PagePipeline::take(const std::string& path) {
    // Only the walk's thread changes workers_.
    if (workers_.empty()) return Page(new PageResult(prepare_(path, false)));
    std::unique_lock<std::mutex> lock(mutex_);
    if (nextTake_ >= paths_.size() || paths_[nextTake_] != path) {
        // The walk does not go as foreseen: no more pages ahead.
        lock.unlock();
        stop();
        return Page(new PageResult(prepare_(path, false)));
    }
    const std::size_t index = nextTake_;
    while (ready_[index].page == nullptr) {
        if (index == nextStart_) {
            // No worker has started it: rather than wait, the walk prepares it.
            ++nextStart_;
            ++nextTake_;
            wakeIfRoomAhead();
            lock.unlock();
            return Page(new PageResult(prepare_(path, false)), GiveBack(this, kWalk));
        }
        if (mayStartAnother()) {
            // A worker is preparing it: meanwhile the walk's thread prepares
            // a page further on, as one of the workers.
            const std::size_t further = nextStart_++;
            lock.unlock();
            auto page = std::make_unique<PageResult>(prepare_(paths_[further], true));
            lock.lock();
            readyBytes_ += page->bytes;
            ready_[further] = {std::move(page), kWalk};
            continue;
        }
        // A worker tells when it has readied the page at nextTake_.
        pageReady_.wait(lock);
    }
    Ready ready = std::move(ready_[index]);
    readyBytes_ -= ready.page->bytes;
    ++nextTake_;
    wakeIfRoomAhead();
    lock.unlock();
    if (ready.page->loadStatus == kFileLeftAlone) {
        giveBack(ready.worker, ready.page.release());
        return Page(new PageResult(prepare_(path, false)), GiveBack(this, kWalk));
    }
    return Page(ready.page.release(), GiveBack(this, ready.worker));
}

void PagePipeline::giveBack(std::size_t worker, PageResult* page) {
    std::unique_ptr<PageResult> owned(page);  // freed after the lock, unless kept
    if (worker == kWalk) return;
    std::lock_guard<std::mutex> lock(mutex_);
    if (worker >= workers_.size()) return;
    Worker& owner = *workers_[worker];
    // A large page is freed at once: by its worker when it waits, here when
    // it is busy; small ones wait for their worker.
    const std::size_t worthWaking = aheadBytes_ / 4;
    if (owner.ended || (owned->bytes >= worthWaking && !owner.waiting)) return;
    owner.doneBytes += owned->bytes;
    owner.done.push_back(std::move(owned));
    if (owner.waiting && owner.doneBytes >= worthWaking) owner.wake.notify_one();
}

void PagePipeline::stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopped_ = true;
        for (auto& worker : workers_) worker->wake.notify_one();
    }
    for (auto& worker : workers_) worker->thread->join();
    // Pages prepared for a walk that no longer takes them, and pages the
    // workers had not freed yet.
    std::vector<Ready> ready;
    std::vector<std::unique_ptr<Worker>> workers;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ready.swap(ready_);
        workers.swap(workers_);
        readyBytes_ = 0;
    }
}

}  // namespace qv

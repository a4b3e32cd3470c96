// The pool that prepares pages ahead of the list walk. Workers take the
// pages in list order; the walk takes the results in the same order, so that
// everything it does (messages, the trees, a diagnostic copy) happens as if
// each page were read the moment its entry is met.

#include "driver/page_pipeline.h"

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
                              bool ahead) {
    PageResult result;
    std::string text;
    result.loadStatus = ahead ? loadMarkupFile(AheadReader(reader), path, text, &result.decoding)
                              : loadMarkupFile(reader, path, text, &result.decoding);
    result.bytes = text.size();
    if (result.loadStatus == 0) result.page = preparePage(std::move(text), keepLoaded);
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
    nextStart_ = nextTake_ = readyBytes_ = waitingWorkers_ = 0;
    stopped_ = false;
    // The walk prepares a page itself when no worker has started it, so a
    // list of one page needs none.
    const std::size_t wanted =
        jobs_ < 2 || paths_.size() < 2 ? 0 : std::min<std::size_t>(jobs_, paths_.size() - 1);
    aheadPages_ = kAheadPagesPerWorker * wanted;
    done_.clear();
    done_.resize(wanted);
    ended_.assign(wanted, false);
    for (std::size_t i = 0; i < wanted; ++i) {
        auto worker = std::make_unique<LargeStackThread>();
        if (!worker->start([this, i] { work(i); })) {
            // Fewer threads, or none: the walk prepares what they would have.
            std::lock_guard<std::mutex> lock(mutex_);
            for (std::size_t j = i; j < wanted; ++j) ended_[j] = true;
            break;
        }
        workers_.push_back(std::move(worker));
    }
}

bool PagePipeline::mayStartAnother() const {
    return nextStart_ < paths_.size() && readyBytes_ < aheadBytes_ &&
           nextStart_ - nextTake_ < aheadPages_;
}

void PagePipeline::work(std::size_t worker) {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        ++waitingWorkers_;
        roomAhead_.wait(lock, [&] {
            return stopped_ || !done_[worker].empty() || nextStart_ >= paths_.size() ||
                   mayStartAnother();
        });
        --waitingWorkers_;
        if (!done_[worker].empty()) {
            // Pages this worker built, freed here before it builds another.
            std::vector<std::unique_ptr<PageResult>> done;
            done.swap(done_[worker]);
            lock.unlock();
            done.clear();
            lock.lock();
            continue;
        }
        if (stopped_ || nextStart_ >= paths_.size()) break;
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
        ready_[index] = {std::move(page), worker};
        if (index == nextTake_) pageReady_.notify_one();
    }
    ended_[worker] = true;
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
    if (index == nextStart_) {
        // No worker has started it: rather than wait, the walk prepares it.
        ++nextStart_;
        ++nextTake_;
        lock.unlock();
        return Page(new PageResult(prepare_(path, false)), GiveBack(this, kWalk));
    }
    // A worker tells when it has readied the page at nextTake_.
    pageReady_.wait(lock, [&] { return ready_[index].page != nullptr; });
    Ready ready = std::move(ready_[index]);
    readyBytes_ -= ready.page->bytes;
    ++nextTake_;
    // Waiting workers start again once half the room ahead is free.
    if (waitingWorkers_ > 0 && readyBytes_ <= aheadBytes_ / 2 &&
        nextStart_ - nextTake_ <= aheadPages_ / 2) {
        roomAhead_.notify_all();
    }
    lock.unlock();
    if (ready.page->loadStatus == kFileLeftAlone) {
        giveBack(ready.worker, ready.page.release());
        return Page(new PageResult(prepare_(path, false)), GiveBack(this, kWalk));
    }
    return Page(ready.page.release(), GiveBack(this, ready.worker));
}

void PagePipeline::giveBack(std::size_t worker, PageResult* page) {
    std::unique_ptr<PageResult> owned(page);
    if (worker == kWalk) return;
    std::lock_guard<std::mutex> lock(mutex_);
    if (worker < done_.size() && !ended_[worker]) {
        done_[worker].push_back(std::move(owned));
    }
}

void PagePipeline::stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopped_ = true;
    }
    roomAhead_.notify_all();
    for (auto& worker : workers_) worker->join();
    workers_.clear();
    // Pages prepared for a walk that no longer takes them, and pages the
    // workers had not freed yet.
    std::vector<Ready> ready;
    std::vector<std::vector<std::unique_ptr<PageResult>>> done;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ready.swap(ready_);
        done.swap(done_);
        std::fill(ended_.begin(), ended_.end(), true);
        readyBytes_ = 0;
    }
}

}  // namespace qv

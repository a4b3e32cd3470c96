#pragma once
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "io/file_reader.h"
#include "page/analyse_page.h"

namespace qv {

class LargeStackThread;

// One page read and prepared for the walk.
struct PageResult {
    int loadStatus = 0;     // 0, or why the page could not be loaded (page is then empty)
    std::size_t bytes = 0;  // its size as loaded
    PreparedPage page;      // with how it was made UTF-8
};

// Loads the page at path and prepares it; called on several threads at once.
// ahead: the walk may never reach the page, which may then be left alone
// (loadStatus kFileLeftAlone) when reading it could block or take much
// memory.
using PagePreparer = std::function<PageResult(const std::string& path, bool ahead)>;

// The largest page read ahead of the walk; a larger one is read when the
// walk reaches it.
constexpr std::size_t kLargestPageAhead = std::size_t{64} << 20;

// loadMarkupFile, then preparePage: what is done with a page, ahead of the
// walk or not.
PageResult loadAndPreparePage(const FileReader& reader, const std::string& path, bool keepLoaded,
                              PageSyntax syntax, bool ahead);

// Prepares the pages of a list on a pool of threads ahead of the list walk,
// and hands them to the walk in list order. The walk's own thread is one of
// them: while the page it is to take next is being prepared by a worker, it
// prepares a page further on itself, so that as many threads as jobs are
// busy and no more. The work ahead is bounded: another page is started only
// while the pages waiting for the walk hold fewer than aheadBytes bytes (as
// loaded) and number fewer than kAheadPagesPerJob a job, so at most one page
// per thread goes past the bound. Workers that wait for room start again once
// the walk has taken half of what was ahead, so that they work in runs rather
// than wake for every page. A page the walk is done with goes back to the
// worker that built it, to be freed there.
class PagePipeline {
public:
    static constexpr std::size_t kAheadBytes = std::size_t{1} << 20;
    static constexpr std::size_t kAheadPagesPerJob = 16;

    // jobs: how many threads prepare pages, the walk's among them. With 1
    // there is no pool: each page is prepared when the walk takes it.
    PagePipeline(PagePreparer prepare, unsigned jobs, std::size_t aheadBytes = kAheadBytes);
    // Stops the workers (a page being prepared is finished and dropped) and
    // waits for them.
    ~PagePipeline();
    PagePipeline(const PagePipeline&) = delete;
    PagePipeline& operator=(const PagePipeline&) = delete;

    // The paths the walk is to take, in its order: the workers start on them.
    void start(std::vector<std::string> paths);
    // Calls use with the page at path and returns what it returns; the page
    // goes back to the pipeline when use is done, so that it never outlives
    // the pipeline. When it is the next path expected it comes from the pool
    // (prepared here if no thread has started it yet, or if it was left
    // alone); otherwise the pool is stopped and this page and every later
    // one are prepared here.
    template <typename Use>
    auto withPage(const std::string& path, Use use) {
        Page page = take(path);
        return use(*page);
    }

private:
    // Gives a page back to the pipeline when the walk drops it: the worker
    // that built the page frees it, which its memory allocator does best.
    class GiveBack {
    public:
        GiveBack() = default;
        GiveBack(PagePipeline* pipeline, std::size_t worker)
            : pipeline_(pipeline), worker_(worker) {}
        void operator()(PageResult* page) const;

    private:
        PagePipeline* pipeline_ = nullptr;
        std::size_t worker_ = 0;
    };
    // A page the walk took, given back when dropped.
    using Page = std::unique_ptr<PageResult, GiveBack>;

    Page take(const std::string& path);
    // Stops the workers: the walk ends before the last page.
    void stop();
    struct Ready {
        std::unique_ptr<PageResult> page;
        std::size_t worker = 0;
    };
    struct Worker {
        std::unique_ptr<LargeStackThread> thread;
        std::condition_variable wake;  // room ahead, pages to free, or stop
        // Guarded by mutex_:
        bool waiting = false;
        bool ended = true;  // until started; then once it has left its loop
        // Pages the walk is done with, and their size as loaded.
        std::vector<std::unique_ptr<PageResult>> done;
        std::size_t doneBytes = 0;
    };
    void work(std::size_t self);
    bool mayStartAnother() const;
    void wakeIfRoomAhead();
    void giveBack(std::size_t worker, PageResult* page);

    const PagePreparer prepare_;
    const unsigned jobs_;
    const std::size_t aheadBytes_;
    // Written before the workers start:
    std::vector<std::string> paths_;
    std::size_t aheadPages_ = 0;
    std::vector<std::unique_ptr<Worker>> workers_;  // changed on the walk's thread only

    std::mutex mutex_;
    std::condition_variable pageReady_;  // the page the walk waits for is ready
    // Guarded by mutex_:
    std::vector<Ready> ready_;   // by index in paths_
    std::size_t nextStart_ = 0;  // the next page to prepare
    std::size_t nextTake_ = 0;   // the next page the walk takes
    std::size_t readyBytes_ = 0;
    bool stopped_ = false;
};

}  // namespace qv

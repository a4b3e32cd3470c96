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
#include "text/input_encoding.h"

namespace qv {

class LargeStackThread;

// One page read and prepared for the walk.
struct PageResult {
    int loadStatus = 0;      // 0, or why the page could not be loaded (page is then empty)
    std::size_t bytes = 0;   // its size as loaded
    InputDecoding decoding;  // how it was made UTF-8
    PreparedPage page;
};

// Loads the page at path and prepares it. Called on several threads at once.
using PagePreparer = std::function<PageResult(const std::string& path)>;

// loadMarkupFile, then preparePage: what a worker does with a page.
PageResult loadAndPreparePage(const FileReader& reader, const std::string& path, bool keepLoaded);

// Prepares the pages of a list on a pool of threads ahead of the list walk,
// and hands them to the walk in list order. The work ahead is bounded: a
// worker starts another page only while the prepared pages waiting for the
// walk hold fewer than aheadBytes bytes (as loaded) and number fewer than
// aheadPages per worker, so at most one page per worker goes past the bound.
class PagePipeline {
public:
    static constexpr std::size_t kAheadBytes = std::size_t{1} << 20;
    static constexpr std::size_t kAheadPagesPerWorker = 16;

    // jobs: how many threads prepare pages. With 1 there is no pool: each
    // page is prepared on the walk's thread when the walk takes it.
    PagePipeline(PagePreparer prepare, unsigned jobs, std::size_t aheadBytes = kAheadBytes);
    // Stops the workers (a page being prepared is finished and dropped) and
    // waits for them.
    ~PagePipeline();
    PagePipeline(const PagePipeline&) = delete;
    PagePipeline& operator=(const PagePipeline&) = delete;

    // The paths the walk is to take, in its order: the workers start on them.
    void start(std::vector<std::string> paths);
    // The page at path. When it is the next path expected it comes from the
    // pool (prepared here if no worker has started it yet); otherwise the
    // pool is stopped and this page and every later one are prepared here.
    PageResult take(const std::string& path);
    // Stops the workers: the walk ends before the last page.
    void stop();

private:
    void work();
    bool mayStartAnother() const;

    const PagePreparer prepare_;
    const unsigned jobs_;
    const std::size_t aheadBytes_;
    // Written before the workers start:
    std::vector<std::string> paths_;
    std::size_t aheadPages_ = 0;
    std::vector<std::unique_ptr<LargeStackThread>> workers_;

    std::mutex mutex_;
    std::condition_variable roomAhead_;  // a worker may start another page
    std::condition_variable pageReady_;  // the page the walk waits for is ready
    // Guarded by mutex_:
    std::vector<std::unique_ptr<PageResult>> ready_;  // by index in paths_
    std::size_t nextStart_ = 0;  // the next page to prepare
    std::size_t nextTake_ = 0;   // the next page the walk takes
    std::size_t readyBytes_ = 0;
    bool stopped_ = false;
};

}  // namespace qv

// The pages prepared ahead of the walk: handed over in list order, within
// the bound on the work ahead, and whatever the walk asks for.

#include "helpset/page_pipeline.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace qv {
namespace {

std::vector<std::string> pagePaths(std::size_t count) {
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < count; ++i) paths.push_back("p" + std::to_string(i) + ".htm");
    return paths;
}

std::string text(PageResult& result) { return result.page.text; }

TEST(PagePipeline, HandsPagesOverInOrderWithinTheBound) {
    const struct {
        unsigned jobs;
        std::size_t pageBytes, aheadBytes, taken;
        bool slowWalk;  // or slow workers
    } cases[] = {
        {1, 100, 1000, 40, true},      {2, 100, 1000, 40, true},
        {8, 100, 1000, 40, true},      {8, 100, 100000, 40, true},  // bounded by pages: 16 a worker
        {4, 16 << 20, 1000, 12, true},  // pages far larger than the bound
        {8, 100, 1000, 3, true},        // the walk stops early
        {2, 100, 1000, 40, false},     {8, 100, 1000, 40, false},
        {2, 100, 100, 40, false},  // one page ahead at most
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.jobs << " jobs, " << c.pageBytes << " bytes");
        std::atomic<std::size_t> prepared{0};
        std::size_t taken = 0, mostAhead = 0;
        {
            PagePipeline pipeline(
                [&](const std::string& path, bool) {
                    PageResult result;
                    result.bytes = c.pageBytes;
                    result.page.text = path;
                    if (!c.slowWalk) std::this_thread::sleep_for(std::chrono::milliseconds(1));
                    ++prepared;
                    return result;
                },
                c.jobs, c.aheadBytes);
            const std::vector<std::string> paths = pagePaths(40);
            pipeline.start(paths);
            for (std::size_t i = 0; i < c.taken; ++i) {
                // A slow walk lets the workers go as far ahead as they may;
                // slow workers make the walk wait for each page.
                if (c.slowWalk) std::this_thread::sleep_for(std::chrono::milliseconds(1));
                mostAhead = std::max(mostAhead, prepared - taken);
                EXPECT_EQ(pipeline.withPage(paths[i], text), paths[i]);
                ++taken;
            }
        }
        const std::size_t bound =
            std::min<std::size_t>(c.aheadBytes / c.pageBytes, 16 * c.jobs) + c.jobs;
        EXPECT_LE(mostAhead, bound);
        EXPECT_LE(prepared, taken + bound);
    }
}

TEST(PagePipeline, APageNotForeseenIsPreparedByTheWalk) {
    PagePipeline pipeline(
        [](const std::string& path, bool) {
            PageResult result;
            result.page.text = path;
            return result;
        },
        4);
    pipeline.start(pagePaths(10));
    EXPECT_EQ(pipeline.withPage("p0.htm", text), "p0.htm");
    for (const char* path : {"autre.htm", "p1.htm", "p2.htm"}) {
        EXPECT_EQ(pipeline.withPage(path, text), path);
    }
}

}  // namespace
}  // namespace qv

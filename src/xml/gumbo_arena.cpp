#include "xml/gumbo_arena.h"

#include <cstdint>
#include <cstdlib>

#include "platform/memory_pages.h"

namespace qv {

// A region starts on a multiple of kRegionSize, so that the region of any
// block is found by rounding its address down. A block larger than a
// quarter of a region gets a region of its own.
struct GumboArena::Region {
    std::size_t live;  // blocks not yet freed
    std::size_t used;  // bytes cut, this header included
    std::size_t size;
    std::size_t index;  // in regions_
};

namespace {

constexpr std::size_t kAlignment = alignof(std::max_align_t);
constexpr std::size_t kHeader =
    (sizeof(std::size_t) * 4 + kAlignment - 1) / kAlignment * kAlignment;

std::size_t roundUp(std::size_t size, std::size_t unit) { return (size + unit - 1) / unit * unit; }

}  // namespace

GumboArena::~GumboArena() {
    for (Region* region : regions_) {
        if (region != nullptr) releaseMemoryPages(region, region->size);
    }
}

GumboArena::Region* GumboArena::newRegion(std::size_t size) {
    // From the system itself, so that a region freed leaves the process.
    void* memory = takeMemoryPages(size, kRegionSize);
    if (memory == nullptr) std::abort();  // gumbo takes no failure: as malloc failing in it
    auto* region = static_cast<Region*>(memory);
    *region = {0, kHeader, size, regions_.size()};
    regions_.push_back(region);
    return region;
}

void GumboArena::freeRegion(Region* region) {
    regions_[region->index] = nullptr;
    releaseMemoryPages(region, region->size);
}

void* GumboArena::allocate(void* arena, std::size_t size) {
    auto& self = *static_cast<GumboArena*>(arena);
    size = roundUp(size == 0 ? 1 : size, kAlignment);
    Region* region = self.current_;
    if (size > kRegionSize / 4) {
        region = self.newRegion(roundUp(kHeader + size, kRegionSize));
    } else if (region == nullptr || region->used + size > region->size) {
        if (region != nullptr && region->live == 0) self.freeRegion(region);
        region = self.current_ = self.newRegion(kRegionSize);
    }
    void* block = reinterpret_cast<char*>(region) + region->used;
    region->used += size;
    ++region->live;
    return block;
}

void GumboArena::free(void* arena, void* block) {
    if (block == nullptr) return;
    auto& self = *static_cast<GumboArena*>(arena);
    auto* region = reinterpret_cast<Region*>(reinterpret_cast<std::uintptr_t>(block) &
                                             ~(std::uintptr_t{kRegionSize} - 1));
    if (--region->live > 0) return;
    if (region == self.current_) {
        region->used = kHeader;  // cut again from the start
    } else {
        self.freeRegion(region);
    }
}

}  // namespace qv

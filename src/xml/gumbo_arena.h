#pragma once
#include <cstddef>
#include <vector>

namespace qv {

// The memory of one gumbo parse, handed to gumbo through its options
// (allocator, deallocator, userdata). Blocks are cut in turn from regions of
// kRegionSize bytes, and a region goes back to the system as soon as its
// last block is freed: gumbo allocates a page's tree in the order it reads
// the page, and the copy into TinyXML frees it in the same order, so that
// gumbo's tree shrinks region by region while TinyXML's grows. Cutting or
// freeing a block costs a few instructions, where malloc and free cost a
// hundred or more; gumbo makes two or three allocations per node.
// Whatever is left is freed with the arena.
class GumboArena {
public:
    static constexpr std::size_t kRegionSize = std::size_t{1} << 20;

    GumboArena() = default;
    GumboArena(const GumboArena&) = delete;
    GumboArena& operator=(const GumboArena&) = delete;
    ~GumboArena();

    // gumbo's allocator and deallocator; arena is the GumboArena.
    static void* allocate(void* arena, std::size_t size);
    static void free(void* arena, void* block);

private:
    struct Region;
    Region* newRegion(std::size_t size);
    void freeRegion(Region* region);

    Region* current_ = nullptr;
    std::vector<Region*> regions_;  // every region, null once freed
};

}  // namespace qv

#pragma once
#include <cstddef>

namespace qv {

// Memory taken from the system in whole pages, and handed back to it the
// moment it is released: what the C library's heap frees may stay in the
// process and count in its footprint. start is a multiple of alignment (a
// power of two, at least the page size); null when the system refuses.
void* takeMemoryPages(std::size_t size, std::size_t alignment);
void releaseMemoryPages(void* start, std::size_t size);

}  // namespace qv

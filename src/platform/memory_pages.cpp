#include "platform/memory_pages.h"

#include <sys/mman.h>

#include <cstdint>

namespace qv {

void* takeMemoryPages(std::size_t size, std::size_t alignment) {
    // Enough to find an aligned start inside, then the rest is given back.
    const std::size_t mapped = size + alignment;
    void* memory =
        mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) return nullptr;
    const auto base = reinterpret_cast<std::uintptr_t>(memory);
    const std::uintptr_t start = (base + alignment - 1) & ~(std::uintptr_t{alignment} - 1);
    if (start > base) munmap(memory, start - base);
    const std::uintptr_t end = base + mapped;
    if (end > start + size) munmap(reinterpret_cast<void*>(start + size), end - (start + size));
    return reinterpret_cast<void*>(start);
}

void releaseMemoryPages(void* start, std::size_t size) { munmap(start, size); }

}  // namespace qv

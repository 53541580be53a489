#include "document/shape_reader_memory.h"

#if defined(__linux__) && defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#define ORVANE_LARGE_TREE_HEAP 1
#include <mutex>
#endif

namespace orvane::detail {

#ifdef ORVANE_LARGE_TREE_HEAP

namespace {
constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
// The heap grows by this much at a time while a large tree is built.
constexpr int kGrowthStep = 64 << 20;
// The C library's default top pad, restored after the read.
constexpr int kDefaultTopPad = 128 << 10;

std::uintptr_t heapEnd() { return reinterpret_cast<std::uintptr_t>(::sbrk(0)); }

// The settings are process-wide while reads may run side by side: the first
// large read sets them and the last one to end restores the top pad.
std::mutex tuningMutex;
int largeReads = 0;
}  // namespace

LargeTreeHeap::LargeTreeHeap(std::uint64_t fileBytes) {
    if (fileBytes < kMinFileBytes) return;
    std::lock_guard lock(tuningMutex);
    if (largeReads++ == 0) {
        // Setting any of these freezes the library's self-tuning of the mmap
        // and trim thresholds. Blocks of 4 MiB and more (the lists of blocks
        // with hundreds of thousands of children, the reader's own stacks)
        // are mapped on their own, so that freeing one gives its memory back
        // instead of leaving a hole in the heap; up to 64 MiB of free heap
        // is kept for reuse.
        ::mallopt(M_MMAP_THRESHOLD, 4 << 20);
        ::mallopt(M_TRIM_THRESHOLD, 64 << 20);
        ::mallopt(M_TOP_PAD, kGrowthStep);
    }
    advisedEnd_ = heapEnd();
    active_ = true;
}

LargeTreeHeap::~LargeTreeHeap() {
    if (!active_) return;
    std::lock_guard lock(tuningMutex);
    if (--largeReads == 0) ::mallopt(M_TOP_PAD, kDefaultTopPad);
}

void LargeTreeHeap::adviseGrowthNow() {
    const std::uintptr_t end = heapEnd();
    if (end < advisedEnd_ + kHugePage) {
        if (end < advisedEnd_) advisedEnd_ = end;  // the heap shrank
        return;
    }
    const std::uintptr_t pageSize = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const std::uintptr_t start = (advisedEnd_ + pageSize - 1) & ~(pageSize - 1);
    if (end > start) ::madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
    advisedEnd_ = end;
}

void LargeTreeHeap::adviseBlockNow(const void* data, std::size_t bytes) {
    const auto first = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t start = (first + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t end = (first + bytes) & ~(kHugePage - 1);
    if (end > start) ::madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
}

#else

LargeTreeHeap::LargeTreeHeap(std::uint64_t) {}
LargeTreeHeap::~LargeTreeHeap() = default;
void LargeTreeHeap::adviseGrowthNow() {}
void LargeTreeHeap::adviseBlockNow(const void*, std::size_t) {}

#endif

}  // namespace orvane::detail

#pragma once
// Memory for large trees. A big shape's tree takes about twice the
// file's size in small heap blocks; touching that much fresh memory in
// 4 KiB pages costs more than parsing it. While a large shape is read, the
// C heap grows in large steps and its new memory is marked for huge pages,
// so the tree is backed by 2 MiB pages (fewer faults, fewer TLB misses).
// The same goes for the few very large blocks (the list of a block with
// millions of children), which the C library maps on their own: filled in
// 4 KiB pages, one of them holds the read up for a fifth of a second.
// Only on Linux with the GNU C library; elsewhere this does nothing.

#include <cstddef>
#include <cstdint>

namespace orvane::detail {

class LargeTreeHeap {
public:
    // Active only for files of at least kMinFileBytes.
    explicit LargeTreeHeap(std::uint64_t fileBytes);
    ~LargeTreeHeap();
    LargeTreeHeap(const LargeTreeHeap&) = delete;
    LargeTreeHeap& operator=(const LargeTreeHeap&) = delete;

    // Marks heap memory added since the last call; cheap, call it often.
    void adviseGrowth() {
        if (active_) adviseGrowthNow();
    }

    // Marks a fresh, still untouched block for huge pages when it is large.
    void adviseBlock(const void* data, std::size_t bytes) {
        if (active_ && bytes >= kMinBlockBytes) adviseBlockNow(data, bytes);
    }

    static constexpr std::uint64_t kMinFileBytes = std::uint64_t{32} << 20;
    static constexpr std::size_t kMinBlockBytes = std::size_t{4} << 20;

private:
    void adviseGrowthNow();
    void adviseBlockNow(const void* data, std::size_t bytes);
    bool active_ = false;
    std::uintptr_t advisedEnd_ = 0;
};

}  // namespace orvane::detail

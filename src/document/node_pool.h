#pragma once
// Memory for the tree's small objects: nodes, their extras, and the value
// and child lists of ordinary blocks. A large shape has millions of each;
// taking each from the C heap costs a call, a header and, once the process
// has a second thread, a lock. Here slots of each size up to kMaxSlotBytes
// come from per-thread lists of free slots and from large chunks carved in
// order, so taking and giving back a slot is a few instructions. Chunks
// stay for the life of the process and are reused; the free slots of a
// thread that ends go to shared lists that every thread draws on. Larger
// blocks come from the C heap. (Built with AddressSanitizer, and on Windows,
// every slot comes from the C heap; see node_pool.cpp.)

#include <cstddef>
#include <new>

namespace orvane::detail {

inline constexpr std::size_t kMaxSlotBytes = 256;

// A block of `bytes`, 8-byte aligned; give it back with the same size.
void* takeSlot(std::size_t bytes);
void giveSlot(void* slot, std::size_t bytes) noexcept;

// A standard allocator over the slots, for the tree's lists: stateless, so
// a list is as small as with the default allocator and lists move freely
// between nodes.
template <class T>
struct TreeAllocator {
    using value_type = T;
    TreeAllocator() noexcept = default;
    template <class U>
    TreeAllocator(const TreeAllocator<U>&) noexcept {}  // NOLINT: rebinding
    T* allocate(std::size_t n) {
        if (n > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_array_new_length();
        return static_cast<T*>(takeSlot(n * sizeof(T)));
    }
    void deallocate(T* p, std::size_t n) noexcept { giveSlot(p, n * sizeof(T)); }
    template <class U>
    bool operator==(const TreeAllocator<U>&) const noexcept {
        return true;
    }
};

}  // namespace orvane::detail

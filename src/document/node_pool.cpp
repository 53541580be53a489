#include "document/node_pool.h"

#include <cassert>
#include <memory>
#include <mutex>
#include <new>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define ORVANE_SLOTS_FROM_HEAP 1
#endif

namespace orvane::detail {

#ifdef ORVANE_SLOTS_FROM_HEAP

void* takeSlot(SlotKind, std::size_t bytes) { return ::operator new(bytes); }
void giveSlot(SlotKind, void* slot) noexcept { ::operator delete(slot); }

#else

namespace {

struct FreeSlot {
    FreeSlot* next;
};

constexpr std::size_t kChunkBytes = std::size_t{1} << 20;
// Slots a thread takes from the shared list at a time.
constexpr int kRefillSlots = 256;

// Per kind, for the whole process. Never destroyed: slots may be given back
// while the process ends, and the chunks stay reachable for leak checkers.
struct SharedSlots {
    std::mutex mutex;
    FreeSlot* free = nullptr;
    std::vector<std::unique_ptr<std::byte[]>> chunks;

    // A new chunk, left uncleared; returns its first byte (called with the
    // mutex held).
    std::byte* newChunk() {
        chunks.emplace_back(new std::byte[kChunkBytes]);
        return chunks.back().get();
    }
};

SharedSlots& shared(SlotKind kind) {
    static SharedSlots* const all = new SharedSlots[kSlotKinds];
    return all[static_cast<int>(kind)];
}

struct ThreadSlots {
    std::size_t size = 0;  // of a slot, once the thread has a chunk
    FreeSlot* free = nullptr;
    std::byte* next = nullptr;  // the unused rest of the thread's chunk
    std::byte* end = nullptr;
};

// Set once the thread's lists are gone (the thread is ending): from then on
// its slots go straight to the shared lists.
thread_local bool threadListsGone = false;

struct ThreadLists {
    ThreadSlots kinds[kSlotKinds];
    ~ThreadLists() {
        threadListsGone = true;
        for (int k = 0; k < kSlotKinds; ++k) {
            SharedSlots& s = shared(static_cast<SlotKind>(k));
            ThreadSlots& t = kinds[k];
            std::lock_guard lock(s.mutex);
            while (t.free) {
                FreeSlot* slot = t.free;
                t.free = slot->next;
                slot->next = s.free;
                s.free = slot;
            }
            for (; t.next && t.next + t.size <= t.end; t.next += t.size) {
                auto* slot = reinterpret_cast<FreeSlot*>(t.next);
                slot->next = s.free;
                s.free = slot;
            }
        }
    }
};

thread_local ThreadLists threadLists;

std::size_t slotSize(std::size_t bytes) { return (bytes + 7) & ~std::size_t{7}; }

void* takeShared(SharedSlots& s, std::size_t size) {
    std::lock_guard lock(s.mutex);
    if (FreeSlot* slot = s.free) {
        s.free = slot->next;
        return slot;
    }
    std::byte* chunk = s.newChunk();
    for (std::byte* p = chunk + size; p + size <= chunk + kChunkBytes; p += size) {
        auto* slot = reinterpret_cast<FreeSlot*>(p);
        slot->next = s.free;
        s.free = slot;
    }
    return chunk;
}

}  // namespace

void* takeSlot(SlotKind kind, std::size_t bytes) {
    SharedSlots& s = shared(kind);
    const std::size_t size = slotSize(bytes);
    assert(size >= sizeof(FreeSlot) && size <= 512);
    if (threadListsGone) return takeShared(s, size);
    ThreadSlots& t = threadLists.kinds[static_cast<int>(kind)];
    if (FreeSlot* slot = t.free) {
        t.free = slot->next;
        return slot;
    }
    if (t.next && t.next + size <= t.end) {
        void* slot = t.next;
        t.next += size;
        return slot;
    }
    // Refill: free slots others left, else a chunk of the thread's own.
    std::lock_guard lock(s.mutex);
    if (s.free) {
        for (int i = 0; i < kRefillSlots && s.free; ++i) {
            FreeSlot* slot = s.free;
            s.free = slot->next;
            slot->next = t.free;
            t.free = slot;
        }
        FreeSlot* slot = t.free;
        t.free = slot->next;
        return slot;
    }
    t.size = size;
    t.next = s.newChunk();
    t.end = t.next + kChunkBytes;
    void* slot = t.next;
    t.next += size;
    return slot;
}

void giveSlot(SlotKind kind, void* slot) noexcept {
    auto* freed = static_cast<FreeSlot*>(slot);
    if (threadListsGone) {
        SharedSlots& s = shared(kind);
        std::lock_guard lock(s.mutex);
        freed->next = s.free;
        s.free = freed;
        return;
    }
    ThreadSlots& t = threadLists.kinds[static_cast<int>(kind)];
    freed->next = t.free;
    t.free = freed;
}

#endif

}  // namespace orvane::detail

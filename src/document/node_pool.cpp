#include "document/node_pool.h"

#include <memory>
#include <mutex>
#include <vector>

// With AddressSanitizer, so that a use after release is caught; and on
// Windows, where MinGW's emulated thread-local storage may release a
// thread's lists before the last slots of that thread are given back.
#if defined(__SANITIZE_ADDRESS__) || defined(_WIN32)
#define ORVANE_SLOTS_FROM_HEAP 1
#endif

namespace orvane::detail {

#ifdef ORVANE_SLOTS_FROM_HEAP

void* takeSlot(std::size_t bytes) { return ::operator new(bytes); }
void giveSlot(void* slot, std::size_t) noexcept { ::operator delete(slot); }

#else

namespace {

struct FreeSlot {
    FreeSlot* next;
};

// Slot sizes are multiples of 8: class c holds slots of 8 * (c + 1) bytes.
constexpr std::size_t kClasses = kMaxSlotBytes / 8;
constexpr std::size_t kChunkBytes = std::size_t{1} << 20;
// Slots a thread takes from a shared list at a time.
constexpr int kRefillSlots = 256;

std::size_t classOf(std::size_t bytes) { return bytes == 0 ? 0 : (bytes - 1) / 8; }
std::size_t slotBytes(std::size_t cls) { return 8 * (cls + 1); }

// Per size, for the whole process. Never destroyed: slots may be given back
// while the process ends, and the chunks stay reachable for leak checkers.
struct SharedSlots {
    std::mutex mutex;
    FreeSlot* free = nullptr;
};

struct Shared {
    SharedSlots sizes[kClasses];
    std::mutex chunkMutex;
    std::vector<std::unique_ptr<std::byte[]>> chunks;

    // A new chunk, left uncleared.
    std::byte* newChunk() {
        std::lock_guard lock(chunkMutex);
        chunks.emplace_back(new std::byte[kChunkBytes]);
        return chunks.back().get();
    }
};

Shared& shared() {
    static Shared* const all = new Shared();
    return *all;
}

void push(FreeSlot*& list, void* slot) {
    auto* freed = static_cast<FreeSlot*>(slot);
    freed->next = list;
    list = freed;
}

FreeSlot* pop(FreeSlot*& list) {
    FreeSlot* slot = list;
    list = slot->next;
    return slot;
}

struct ThreadSlots {
    FreeSlot* free = nullptr;
    std::byte* next = nullptr;  // the unused rest of the thread's chunk
    std::byte* end = nullptr;
};

// Set once the thread's lists are gone (the thread is ending): from then on
// its slots go straight to the shared lists.
thread_local bool threadListsGone = false;

struct ThreadLists {
    ThreadSlots sizes[kClasses];
    ~ThreadLists() {
        threadListsGone = true;
        for (std::size_t c = 0; c < kClasses; ++c) {
            SharedSlots& s = shared().sizes[c];
            ThreadSlots& t = sizes[c];
            std::lock_guard lock(s.mutex);
            while (t.free) push(s.free, pop(t.free));
            for (; t.next && t.next + slotBytes(c) <= t.end; t.next += slotBytes(c)) push(s.free, t.next);
        }
    }
};

thread_local ThreadLists threadLists;

void* takeShared(std::size_t cls) {
    SharedSlots& s = shared().sizes[cls];
    {
        std::lock_guard lock(s.mutex);
        if (s.free) return pop(s.free);
    }
    std::byte* chunk = shared().newChunk();
    const std::size_t size = slotBytes(cls);
    std::lock_guard lock(s.mutex);
    for (std::byte* p = chunk + size; p + size <= chunk + kChunkBytes; p += size) push(s.free, p);
    return chunk;
}

}  // namespace

void* takeSlot(std::size_t bytes) {
    if (bytes > kMaxSlotBytes) return ::operator new(bytes);
    const std::size_t cls = classOf(bytes);
    if (threadListsGone) return takeShared(cls);
    ThreadSlots& t = threadLists.sizes[cls];
    if (t.free) return pop(t.free);
    const std::size_t size = slotBytes(cls);
    if (t.next && t.next + size <= t.end) {
        void* slot = t.next;
        t.next += size;
        return slot;
    }
    // Refill: free slots other threads left, else a chunk of the thread's own.
    {
        SharedSlots& s = shared().sizes[cls];
        std::lock_guard lock(s.mutex);
        for (int i = 0; i < kRefillSlots && s.free; ++i) push(t.free, pop(s.free));
    }
    if (t.free) return pop(t.free);
    t.next = shared().newChunk();
    t.end = t.next + kChunkBytes;
    void* slot = t.next;
    t.next += size;
    return slot;
}

void giveSlot(void* slot, std::size_t bytes) noexcept {
    if (bytes > kMaxSlotBytes) {
        ::operator delete(slot);
        return;
    }
    const std::size_t cls = classOf(bytes);
    if (threadListsGone) {
        SharedSlots& s = shared().sizes[cls];
        std::lock_guard lock(s.mutex);
        push(s.free, slot);
        return;
    }
    push(threadLists.sizes[cls].free, slot);
}

#endif

}  // namespace orvane::detail

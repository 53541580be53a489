#pragma once
// Memory for the tree's small fixed-size objects (nodes and their extras).
// A large shape has millions of them; taking each from the C heap costs a
// call, a header and, once the process has a second thread, a lock. Here
// each thread keeps its own list of free slots and carves new slots from
// large chunks, so taking and giving back a slot is a few instructions.
// Chunks stay for the life of the process and are reused; the free slots of
// a thread that ends go to a shared list that every thread draws on.
// (Built with AddressSanitizer, slots come from the C heap one by one, so
// that a use after release is still caught.)

#include <cstddef>

namespace orvane::detail {

enum class SlotKind { Node, Extras };
inline constexpr int kSlotKinds = 2;

// Takes a slot of `bytes` (at most 512, 8-byte aligned) for objects of
// kind; every slot of one kind must have the same size.
void* takeSlot(SlotKind kind, std::size_t bytes);
// Gives back a slot taken for kind, from any thread.
void giveSlot(SlotKind kind, void* slot) noexcept;

}  // namespace orvane::detail

#pragma once
// What the repairs of one run made, kept for a view that shows the repaired
// shape: the pieces each split made and the sub-objects each division
// inserted, by the address of their blocks. A run records it only when its
// RunState carries one (RunState::trace); otherwise the repairs skip it.

#include <cstdint>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "document/cls_reader.h"

namespace orvane {

// What the repairs of a run made, by block identity, for a view of the repaired shape.
struct RepairTrace {
    struct Piece {
        std::int32_t split = 0;   // which split made it: 0, 1, ... in the order the splits were made
        std::int32_t piece = 0;   // 1 = the part the split primitive kept, 2, 3, ... the new lists in order
        std::int32_t pieces = 0;  // the parts of that split, the kept one included
    };
    std::unordered_map<const clsReader*, Piece> pieces;     // indexed_trilist nodes
    std::unordered_set<const clsReader*> madeSubObjects;    // sub_object nodes a division inserted
    std::vector<NodePtr> held;  // keeps every traced node alive, so no address is reused while the trace lives
    std::int32_t splits = 0;    // splits recorded so far: the number the next one gets

    // Records the parts of one split: parts[0] the primitive that kept the
    // first triangles, then the new lists in order.
    void recordSplit(const std::vector<NodePtr>& parts);
    // Records copy, a sub-object a division inserted.
    void recordSubObject(const NodePtr& copy);
    // Gives every traced trilist within `from` (itself included) the same
    // entry for its counterpart in `to`, a deep copy of it: both are walked
    // side by side, child by child, without recursion.
    void recordCopy(const clsReader& from, const NodePtr& to);
};

}  // namespace orvane

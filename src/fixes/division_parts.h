#pragma once
// The parts of stripping a range of geometry nodes out of a sub-object,
// worked out without changing anything: which vtx_states the nodes draw
// with, and which vertex sets and primitives go with them. The division
// plans both of its halves with these before it edits anything.

#include <cstdint>
#include <string>
#include <vector>

#include "document/cls_reader.h"
#include "document/shape_error.h"

namespace orvane {

// Marks on vtx_states. The numbers that exist are those below value 1 of
// vtx_states; only vtx_state blocks that are there can be marked, so the
// marks take no more room than the blocks whatever the count says.
struct StateMarks {
    std::size_t count = 0;
    std::vector<bool> marked;

    // Whether vtx_state `state` is marked; ShapeError naming `user` (a
    // callable giving text) when no such vtx_state exists.
    template <class User>
    bool isMarked(std::int32_t state, const User& user) const;
};

// Marks every vtx_state whose matrix maps, in the node map snapshot, to a
// geometry node number from first to last (inclusive; first > last is an
// empty range).
StateMarks statesOfNodeRange(const clsReader& vtxStates, std::int32_t first, std::int32_t last,
                             const std::vector<std::int32_t>& nodeMap);

// The vertex sets whose vtx_state (value 1) is marked.
std::vector<bool> vertexSetsOfStates(const clsReader& vertexSets, const StateMarks& states);

// The children of primitives that stand under a prim_state_idx whose
// prim_state uses a marked vtx_state, that prim_state_idx included.
std::vector<bool> primitivesOfStates(const clsReader& primitives, const clsReader& primStates,
                                     const StateMarks& states);

// Value 2 (the start) of the first vertex set not in `removed`; ShapeError
// when none is left.
std::int32_t firstKeptStart(const clsReader& vertexSets, const std::vector<bool>& removed);

// ShapeError unless every vertex set not in `removed` starts at `base` or later.
void requireStartsFrom(const clsReader& vertexSets, const std::vector<bool>& removed, std::int32_t base);

// ShapeError unless the block holds its count followed by exactly one
// placeholder per child.
void requireCountedList(const clsReader& block);

// ShapeError unless every vertex number of the triangle lists among the
// children of primitives that are not `dropped` names one of the `count`
// vertices from number `first` on.
void requireVertexNumbers(const clsReader& primitives, const std::vector<bool>& dropped, std::int64_t first,
                          std::size_t count);

// The ShapeError for vertex number `number` of primitive `primitiveNumber`
// of a sub-object that keeps `count` vertices from number `first` on.
[[noreturn]] void throwVertexOutside(std::int64_t number, std::size_t primitiveNumber, std::int64_t first,
                                     std::size_t count);

template <class User>
bool StateMarks::isMarked(std::int32_t state, const User& user) const {
    if (state < 0 || static_cast<std::size_t>(state) >= count)
        throw ShapeError(user() + " names vtx_state " + std::to_string(state) + ", beyond the " +
                         std::to_string(count) + " of vtx_states");
    return static_cast<std::size_t>(state) < marked.size() && marked[static_cast<std::size_t>(state)];
}

}  // namespace orvane

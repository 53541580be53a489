#pragma once
// Primitive splitting: cuts every oversized triangle list into consecutive
// lists of at most maxPrimFaces triangles.

#include <cstddef>
#include <cstdint>

#include "fixes/run_state.h"

namespace orvane {

// Returns whether it changed the tree: every split it makes does (a list
// that turns out not to exceed the limit stops the run instead).
bool splitOversizedPrimitives(RunState& run);
// Splits one indexed_trilist into pieces of at most maxPrimFaces triangles
// (which splitOversizedPrimitives has checked to be at least 1), each new
// piece directly after the one before it in the primitives block.
// primitiveNumber is the survey's number of it, for messages.
void splitPrimitive(RunState& run, const NodePtr& primitive, std::int32_t primitiveNumber);
// Counts `pieces` new triangle lists made from the primitive at child
// position k of primitives: value 7 of geometryInfo and value 1 of the
// cullable_prims governing that primitive grow by `pieces`.
void registerNewPrimitive(RunState& run, clsReader& geometryInfo, const clsReader& primitives, std::size_t k,
                          std::int32_t pieces = 1);
// The cullable_prims block of the geometry node that draws the primitive at
// child position k: found through the nearest prim_state_idx before it, its
// prim_state, vtx_state, matrix and the geometry_node_map. None when no
// prim_state_idx stands before it; ShapeError when a link is broken.
NodePtr governingCullablePrims(const RunState& run, const clsReader& geometryInfo, const clsReader& primitives,
                               std::size_t k);

}  // namespace orvane

#pragma once
// Primitive splitting: cuts every oversized triangle list into consecutive
// lists of at most maxPrimFaces triangles.

#include "run/run_state.h"

namespace orvane {

void splitOversizedPrimitives(RunState& run);
void splitPrimitive(RunState& run, const NodePtr& primitive);

}  // namespace orvane

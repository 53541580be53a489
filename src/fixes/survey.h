#pragma once
// The geometry survey: reports LODs, sub-objects and primitives, collects
// the oversized ones for the repairs, and hands every triangle to the
// small-edge check.

#include <cstdint>

#include "fixes/corner_reader.h"
#include "fixes/run_state.h"

namespace orvane {

void checkLods(RunState& run, clsReader& root);

// The steps below read triangle corners through `corners`, which the survey
// keeps for its whole walk (see CornerReader).
void checkDistanceLevel(RunState& run, CornerReader& corners, clsReader& level);
void checkSubObject(RunState& run, CornerReader& corners, const NodePtr& subObject);
// subObjectVertices: the vertices block of the trilist's sub-object, whose
// triangles go to the small-edge check; none checks no edges.
void checkPrimitive(RunState& run, CornerReader& corners, const NodePtr& trilist, std::int32_t primitiveNumber,
                    const clsReader* subObjectVertices);

}  // namespace orvane

#pragma once
// The small-edge check: reports triangle edges shorter than the minimum
// edge and, when asked, lifts one corner of each by one metre.

#include <cstdint>

#include "fixes/corner_reader.h"
#include "fixes/run_state.h"

namespace orvane {

// Checks the triangle of vertices ia, ib, ic of subObjectVertices (the
// vertices block of its sub-object; none checks nothing), reading vertices
// and points through `corners` (the survey keeps one for its whole walk).
void checkPolyEdges(RunState& run, CornerReader& corners, const clsReader* subObjectVertices, std::int32_t ia,
                    std::int32_t ib, std::int32_t ic, std::int32_t polyNumber);

}  // namespace orvane

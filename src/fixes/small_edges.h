#pragma once
// The small-edge check: reports triangle edges shorter than the minimum
// edge and, when asked, lifts one corner of each by one metre.

#include <cstdint>

#include "fixes/corner_reader.h"
#include "fixes/run_state.h"

namespace orvane {

// Reads the points afresh from the tree.
void checkPolyEdges(RunState& run, std::int32_t ia, std::int32_t ib, std::int32_t ic, std::int32_t polyNumber);
// The same check reading vertices and points through `corners` (the survey
// keeps one for its whole walk); the lines and lifts are exactly the same.
void checkPolyEdges(RunState& run, CornerReader& corners, std::int32_t ia, std::int32_t ib, std::int32_t ic,
                    std::int32_t polyNumber);

}  // namespace orvane

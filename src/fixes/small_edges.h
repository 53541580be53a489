#pragma once
// The small-edge check: reports triangle edges shorter than the minimum
// edge and, when asked, lifts one corner of each by one metre.

#include <cstdint>

#include "run/run_state.h"

namespace orvane {

void checkPolyEdges(RunState& run, std::int32_t ia, std::int32_t ib, std::int32_t ic, std::int32_t polyNumber);

}  // namespace orvane

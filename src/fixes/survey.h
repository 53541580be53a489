#pragma once
// The geometry survey: reports LODs, sub-objects and primitives, collects
// the oversized ones for the repairs, and hands every triangle to the
// small-edge check.

#include <cstdint>

#include "run/run_state.h"

namespace orvane {

void checkLods(RunState& run, clsReader& root);
void checkDistanceLevel(RunState& run, clsReader& level);
void checkSubObject(RunState& run, const NodePtr& subObject);
void checkPrimitive(RunState& run, const NodePtr& trilist, std::int32_t primitiveNumber);

}  // namespace orvane

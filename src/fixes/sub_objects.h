#pragma once
// Sub-object creation: divides every oversized sub-object in two.

#include "run/run_state.h"

namespace orvane {

void createSubObjects(RunState& run);
void divideSubObject(RunState& run, const NodePtr& source);

}  // namespace orvane

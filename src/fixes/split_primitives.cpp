#include "fixes/split_primitives.h"

namespace orvane {
void splitOversizedPrimitives(RunState&) {}
void splitPrimitive(RunState&, const NodePtr&) {}
}  // namespace orvane

#include "fixes/sub_objects.h"

namespace orvane {
void createSubObjects(RunState&) {}
void divideSubObject(RunState&, const NodePtr&) {}
}  // namespace orvane

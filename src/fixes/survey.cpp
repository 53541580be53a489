#include "fixes/survey.h"

namespace orvane {
// Placeholder until the survey lands.
void checkLods(RunState&, clsReader&) {}
void checkDistanceLevel(RunState&, clsReader&) {}
void checkSubObject(RunState&, const NodePtr&) {}
void checkPrimitive(RunState&, const NodePtr&, std::int32_t) {}
}  // namespace orvane

#include "fixes/animations.h"

namespace orvane {
void normaliseAnimations(RunState&, clsReader&) {}
bool isAnimationRedundant(const clsReader&) { return false; }
}  // namespace orvane

#pragma once
// Animation normalisation: removes an animation that moves nothing and
// retimes a 30 fps animation to the timing of 8 frames at 30 fps.

#include "fixes/run_state.h"

namespace orvane {

void normaliseAnimations(RunState& run, clsReader& root);
bool isAnimationRedundant(const clsReader& animation);

}  // namespace orvane

#include "fixes/animations.h"

#include <cmath>
#include <cstdint>

#include "document/block_layout.h"
#include "document/numbers.h"
#include "document/shape_error.h"
#include "document/tree_edit.h"

namespace orvane {

namespace {

std::string firstAnimation() { return "the first animation"; }

// frames / 8 * 30 rounded to the nearest whole number, halves to even (the
// default rounding mode of nearbyint).
std::int64_t retimedRate(std::int32_t frames) {
    return static_cast<std::int64_t>(std::nearbyint(static_cast<double>(frames) / 8.0 * 30.0));
}

}  // namespace

bool isAnimationRedundant(const clsReader& animation) {
    NodePtr animNodes = animation.Find(blocks::anim_nodes);
    if (!animNodes) return false;
    for (const NodePtr& node : animNodes->Nodes()) {
        NodePtr controllers = node->Find(blocks::controllers);
        // The count is compared as text: "00" is not an empty list.
        if (!controllers || controllers->Strings().empty() || controllers->Strings()[0] != "0") return false;
    }
    return true;
}

void normaliseAnimations(RunState& run, clsReader& root) {
    NodePtr animations = root.Find(blocks::animations);
    if (!animations) return;
    NodePtr animation = animations->Find(blocks::animation);
    if (!animation) return;
    run.figures.animation = RunFigures::Animation::Kept;

    if (isAnimationRedundant(*animation)) {
        removeChildWithPlaceholder(root, static_cast<std::size_t>(animations->ParentIndex()));
        run.report("Redundant animation section removed");
        run.figures.animation = RunFigures::Animation::Removed;
        return;
    }

    const std::int32_t frames = blocks::wholeValue(*animation, 1, "the frame count", firstAnimation);
    const std::int32_t rate = blocks::wholeValue(*animation, 2, "the frame rate", firstAnimation);
    if (frames == 8 || rate != 30) return;
    const std::int64_t newRate = retimedRate(frames);
    // A rate beyond 32 bits could not be read again, not even by this program.
    if (newRate > INT32_MAX || newRate < INT32_MIN)
        throw ShapeError("the frame count " + wholeText(frames) + " of " + firstAnimation() +
                         " gives a frame rate of " + wholeText(newRate) + ", beyond 32 bits");
    replaceValue(*animation, 2, wholeText(newRate));
    run.report("Animation FPS corrected from 30 to " + wholeText(newRate));
    run.figures.animation = RunFigures::Animation::Retimed;
    run.fixesMade = true;
}

}  // namespace orvane

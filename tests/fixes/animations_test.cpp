// Animation normalisation: the redundancy test, the removal of the whole
// animations block, and the frame-rate correction.

#include <gtest/gtest.h>

#include "document/shape_error.h"
#include "document/tree_edit.h"
#include "fixes/animations.h"
#include "fixes/check_shapes.h"

using namespace orvane;
using namespace orvane::test;

namespace {

using Lines = std::vector<std::string>;

std::string animNode(const std::string& controllers) {
    return "anim_node BONE ( controllers ( " + controllers + " ) )\n";
}

std::string animation(const std::string& frames, const std::string& rate, const std::vector<std::string>& nodes) {
    std::string text = "animation ( " + frames + " " + rate + " anim_nodes ( " + std::to_string(nodes.size()) + "\n";
    for (const std::string& n : nodes) text += n;
    return text + ") )\n";
}

std::string withAnimations(const std::vector<std::string>& animations) {
    std::string text = "animations ( " + std::to_string(animations.size()) + "\n";
    for (const std::string& a : animations) text += a;
    return shapeBody(pointsBlock({"0 0 0"}) + "lights ( 0 )\n" + text + ")\n");
}

// A controller list with one live controller.
const std::string kLive = "1 linear_pos ( 2 linear_key ( 0 0 0 0 ) linear_key ( 1 0 1 0 ) )";

struct Normalised {
    NodePtr root;
    Lines lines;
    bool fixesMade;
};

Normalised normalise(const std::string& body) {
    NodePtr root = readShape(body);
    CheckRun check(root);
    normaliseAnimations(check.run, *root);
    return {root, check.report.lines, check.run.fixesMade};
}

std::string rateOfFirstAnimation(const NodePtr& root) {
    return std::string(valueAt(*root->Find("animations")->Find("animation"), 2));
}

}  // namespace

TEST(AnimationRate, RetimesThirtyFpsToEightFramesAtThirty) {
    const std::pair<int, int> table[] = {{4, 15}, {12, 45}, {16, 60}, {1, 4}, {3, 11},
                                         {2, 8},  {6, 22},  {10, 38}, {0, 0}};
    for (auto [frames, rate] : table) {
        Normalised out = normalise(withAnimations({animation(std::to_string(frames), "30", {animNode(kLive)})}));
        EXPECT_EQ(out.lines, (Lines{"Animation FPS corrected from 30 to " + std::to_string(rate)})) << frames;
        EXPECT_EQ(rateOfFirstAnimation(out.root), std::to_string(rate)) << frames;
        EXPECT_EQ(valueAt(*out.root->Find("animations")->Find("animation"), 1), std::to_string(frames));
        EXPECT_TRUE(out.fixesMade);
    }
}

TEST(AnimationRate, LeavesOtherTimingsAlone) {
    for (auto [frames, rate] : {std::pair{"8", "30"}, std::pair{"16", "25"}, std::pair{"12", "31"}}) {
        Normalised out = normalise(withAnimations({animation(frames, rate, {animNode(kLive)})}));
        EXPECT_TRUE(out.lines.empty()) << frames << " " << rate;
        EXPECT_EQ(rateOfFirstAnimation(out.root), rate);
        EXPECT_FALSE(out.fixesMade);
    }
}

TEST(AnimationRate, OnlyTheFirstAnimationCounts) {
    Normalised out = normalise(
        withAnimations({animation("8", "30", {animNode(kLive)}), animation("12", "30", {animNode(kLive)})}));
    EXPECT_TRUE(out.lines.empty());
    EXPECT_EQ(valueAt(*out.root->Find("animations")->Nodes()[1], 2), "30");

    Normalised second = normalise(
        withAnimations({animation("4", "30", {animNode(kLive)}), animation("2", "30", {animNode("0")})}));
    EXPECT_EQ(second.lines, (Lines{"Animation FPS corrected from 30 to 15"}));
    EXPECT_EQ(valueAt(*second.root->Find("animations")->Nodes()[1], 2), "30");
}

TEST(AnimationRedundancy, EmptyControllerListsEverywhere) {
    EXPECT_TRUE(isAnimationRedundant(*readShape(animation("8", "30", {}))));
    EXPECT_TRUE(isAnimationRedundant(*readShape(animation("8", "30", {animNode("0"), animNode("0")}))));
    EXPECT_FALSE(isAnimationRedundant(*readShape("animation ( 8 30 )")));
    for (std::size_t live = 0; live < 3; ++live) {
        std::vector<std::string> nodes(3, animNode("0"));
        nodes[live] = animNode(kLive);
        EXPECT_FALSE(isAnimationRedundant(*readShape(animation("8", "30", nodes)))) << live;
    }
    // The count is compared as text; a missing or empty list counts as live.
    EXPECT_FALSE(isAnimationRedundant(*readShape(animation("8", "30", {animNode("0"), animNode("00")}))));
    EXPECT_FALSE(isAnimationRedundant(*readShape(animation("8", "30", {animNode("0"), animNode("")}))));
    EXPECT_FALSE(isAnimationRedundant(*readShape(animation("8", "30", {"anim_node BONE ( )\n"}))));
}

TEST(AnimationRedundancy, RemovesTheWholeBlockWithoutCountingAsAFix) {
    Normalised out = normalise(withAnimations({animation("12", "30", {animNode("0")}), animation("8", "30", {})}));
    EXPECT_EQ(out.lines, (Lines{"Redundant animation section removed"}));
    EXPECT_FALSE(out.fixesMade);
    EXPECT_FALSE(out.root->Find("animations"));
    EXPECT_EQ(out.root->Strings(), (StringList{"shape_header", "points", "lights"}));
    ASSERT_EQ(out.root->Nodes().size(), 3u);
    EXPECT_EQ(out.root->Nodes()[2]->Name, "lights");
    EXPECT_EQ(findMissingPlaceholder(*out.root), "");
}

TEST(AnimationRedundancy, ShapesWithoutAnAnimationAreLeftAlone) {
    for (const std::string& body : {shapeBody(pointsBlock({"0 0 0"})), withAnimations({})}) {
        Normalised out = normalise(body);
        EXPECT_TRUE(out.lines.empty());
        EXPECT_FALSE(out.fixesMade);
    }
}

TEST(AnimationRate, StopsOnTimingsThatAreNotNumbers) {
    auto problem = [](const std::string& frames, const std::string& rate) -> std::string {
        try {
            normalise(withAnimations({animation(frames, rate, {animNode(kLive)})}));
        } catch (const ShapeError& e) {
            return e.what();
        }
        return "no error";
    };
    EXPECT_EQ(problem("eight", "30"),
              "the frame count \"eight\" (value 1 of animation) of the first animation is not a whole number within "
              "32 bits");
    EXPECT_EQ(problem("8", "3O"),
              "the frame rate \"3O\" (value 2 of animation) of the first animation is not a whole number within 32 "
              "bits");
    EXPECT_EQ(problem("12.5", "30.0"), "no error");  // 12 frames at 30
}

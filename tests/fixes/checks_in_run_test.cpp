// The checks inside a whole fix run: malformed content stops the run with
// its message, keeps the lines made so far and writes nothing; a lift makes
// the run write, the removal of a redundant animation alone does not.

#include <gtest/gtest.h>

#include <filesystem>

#include "fixes/check_shapes.h"
#include "run/fix_run.h"
#include "run/recording_view.h"

using namespace orvane;
using namespace orvane::test;

namespace {

struct Ran {
    RunResult result;
    RecordingView view;
    bool outputExists = false;
};

void runOn(const std::string& body, Ran& ran, RunSwitches switches = {}) {
    TempDir dir;
    writeShape(dir / "model.s", body);
    ran.result = runFix(dir / "model.s", ran.view, RunLimits{}, switches);
    ran.outputExists = std::filesystem::exists(dir / "model.sfixed");
}

std::string lodShape(const std::string& points, const std::vector<std::string>& subObjects,
                     const std::string& more = "") {
    return shapeBody(points + lodControls({lodControl({distanceLevel("200", subObjects)})}) + more);
}

std::string plainSubObject(const std::vector<int>& indices) {
    return subObject(subObjectHeader("1"), verticesBlock({0, 1, 2}), primitivesBlock({trilist("1", indices)}));
}

const std::string kPoints = pointsBlock({"0 0 0", "0 0.001 0", "5 5 5"});

}  // namespace

TEST(ChecksInRun, MalformedContentStopsTheRunWithoutAFile) {
    struct Case {
        std::string body;
        std::string problem;
    };
    const Case cases[] = {
        {lodShape(kPoints, {plainSubObject({0, 1, 2}), plainSubObject({0, 812, 2})}),
         "vertex index 812 of Poly2 is beyond the 3 vertices of sub-object 1 of LOD 0, in primitive 0"},
        {shapeBody(kPoints + "animations ( 1 animation ( 12 thirty anim_nodes ( 1 anim_node A ( controllers ( 1 ) ) ) ) )"),
         "the frame rate \"thirty\" (value 2 of animation) of the first animation is not a whole number within 32 "
         "bits"},
    };
    for (const Case& c : cases) {
        Ran ran;
        runOn(c.body, ran, lifting());
        EXPECT_EQ(ran.result.outcome, RunOutcome::Stopped);
        EXPECT_EQ(ran.result.problem, c.problem);
        EXPECT_FALSE(ran.result.wrote);
        EXPECT_FALSE(ran.outputExists);
        ASSERT_EQ(ran.view.messages.size(), 1u);
        // The message's second line is the problem with a capital first letter.
        EXPECT_NE(ran.view.messages[0].find(c.problem.substr(1)), std::string::npos);
    }
}

TEST(ChecksInRun, LinesBeforeTheProblemStay) {
    Ran ran;
    runOn(lodShape(kPoints, {plainSubObject({0, 1, 2}), plainSubObject({0, 812, 2})}), ran);
    EXPECT_EQ(ran.view.report,
              (std::vector<std::string>{"No of LOD's\t1", "LOD Distance\t200", "Sub Objects\t2",
                                        "Sub Object 0\t1 polygons", "\t\t0\t1 polygons", "\t\tPoly2\t0(0,0,0)",
                                        "\t\t\t1(0,0.001,0) 1mm", "Sub Object 0\t1 polygons", "\t\t0\t1 polygons"}));
}

TEST(ChecksInRun, ALiftIsARepairButARemovedAnimationIsNot) {
    const std::string idle = "animations ( 1 animation ( 8 30 anim_nodes ( 1 anim_node A ( controllers ( 0 ) ) ) ) )";
    Ran lifted;
    runOn(lodShape(kPoints, {plainSubObject({0, 1, 2})}, idle), lifted, lifting());
    EXPECT_EQ(lifted.result.outcome, RunOutcome::Completed);
    EXPECT_TRUE(lifted.result.wrote);
    EXPECT_TRUE(lifted.outputExists);
    EXPECT_EQ(lifted.view.report.back(), "Finished");
    EXPECT_EQ(lifted.view.report[lifted.view.report.size() - 2], "Redundant animation section removed");

    Ran removedOnly;
    runOn(lodShape(pointsBlock({"0 0 0", "1 0 0", "0 1 0"}), {plainSubObject({0, 1, 2})}, idle), removedOnly);
    EXPECT_EQ(removedOnly.result.outcome, RunOutcome::Completed);
    EXPECT_FALSE(removedOnly.result.wrote);
    EXPECT_FALSE(removedOnly.outputExists);
    EXPECT_EQ(removedOnly.view.report[removedOnly.view.report.size() - 2], "Redundant animation section removed");
}

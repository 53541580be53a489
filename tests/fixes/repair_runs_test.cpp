// The repairs inside whole fix runs: what they make is what gets written,
// and a run they stop writes nothing.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "division_shapes.h"
#include "fixes/split_primitives.h"
#include "fixes/sub_objects.h"
#include "fixes/survey.h"
#include "repair_shapes.h"
#include "run/fix_run.h"
#include "run/recording_view.h"

using namespace orvane;
using namespace orvane::test;

namespace {

constexpr int kPoints = 230;

std::size_t countOf(const std::vector<std::string>& lines, const std::string& line) {
    return static_cast<std::size_t>(std::count(lines.begin(), lines.end(), line));
}

TEST(RepairRuns, WrittenShapeReadsBackAsTheTreeTheRepairsMade) {
    TempDir dir;
    const std::string body = divisionShapeText({subObjectText(SubObjectLayout{})}, kPoints);
    writeShape(dir / "model.s", body);
    const RunLimits limits = limitsWith(1, 100);

    // The same steps in memory, for comparison.
    NodePtr expected = readShape(body);
    RepairRun repair(expected, limits);
    checkLods(repair.run, *expected);
    splitOversizedPrimitives(repair.run);
    createSubObjects(repair.run);

    RecordingView view;
    const RunResult result = runFix(dir / "model.s", view, limits, RunSwitches{});
    ASSERT_EQ(result.outcome, RunOutcome::Completed) << result.problem;
    ASSERT_TRUE(result.wrote);
    EXPECT_EQ(countOf(view.report, "Splitting Primitive"), 3u);
    EXPECT_EQ(countOf(view.report, "Creating new sub-object"), 1u);
    NodePtr written = clsReader::create();
    written->ReadFile(result.output, true);
    ASSERT_FALSE(written->Nodes().empty());
    EXPECT_EQ(treeText(*written), treeText(*expected));

    // Each split raised the cullable_prims of its own geometry node; the
    // pieces went with their geometry nodes.
    const clsReader& source = *subObjectAt(*written, 0);
    const clsReader& copy = *subObjectAt(*written, 1);
    EXPECT_EQ(value(*geometryInfoOf(source), 7), "5");
    EXPECT_EQ(value(*geometryInfoOf(copy), 7), "4");
    EXPECT_EQ(value(*primitivesOf(source), 1), "6");
    EXPECT_EQ(value(*primitivesOf(copy), 1), "3");
}

struct StoppedCase {
    const char* name;
    std::int32_t maxPrimFaces;
    SubObjectLayout layout;
    const char* problem;
};

SubObjectLayout layoutWith(std::size_t primitive, const std::string& child) {
    SubObjectLayout layout;
    layout.primitives[primitive] = child;
    return layout;
}

class StoppedRepairRuns : public ::testing::TestWithParam<StoppedCase> {};

TEST_P(StoppedRepairRuns, LeaveNoFileAndSayWhy) {
    const StoppedCase& c = GetParam();
    TempDir dir;
    writeShape(dir / "model.s", divisionShapeText({subObjectText(c.layout)}, kPoints));
    RecordingView view;
    const RunResult result = runFix(dir / "model.s", view, limitsWith(c.maxPrimFaces, 100), RunSwitches{});
    EXPECT_EQ(result.outcome, RunOutcome::Stopped);
    EXPECT_FALSE(result.wrote);
    EXPECT_FALSE(std::filesystem::exists(outputPathFor(dir / "model.s")));
    EXPECT_NE(result.problem.find(c.problem), std::string::npos) << result.problem;
    ASSERT_EQ(view.messages.size(), 1u);
    // The message's second line is the problem with a capital first letter.
    EXPECT_NE(view.messages[0].find(c.problem + 1), std::string::npos) << view.messages[0];
    EXPECT_FALSE(view.report.empty()) << "the survey's lines stay";
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, StoppedRepairRuns,
    ::testing::Values(
        StoppedCase{"LimitZero", 0, SubObjectLayout{}, "Max Faces/Primitive is 0"},
        StoppedCase{"SplitWithoutPrimState", 1, layoutWith(2, "prim_state_idx ( 9 )"),
                    "primitive 1 of sub-object 0 of LOD 0: prim_state 9 is beyond"},
        StoppedCase{"DivisionWithoutVtxState", 2800,
                    [] {
                        SubObjectLayout layout;
                        layout.vertexSets = "3 vertex_set ( 0 0 100 ) vertex_set ( 1 100 50 ) vertex_set ( 7 150 80 )";
                        return layout;
                    }(),
                    "sub-object 0 of LOD 0: in the new sub-object made from it: vertex set 2 names vtx_state 7"}),
    [](const ::testing::TestParamInfo<StoppedCase>& info) { return std::string(info.param.name); });

}  // namespace

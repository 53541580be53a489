// Shapes broken in one place after they read: counts that lie, indices past
// the tables the checks and repairs use, negative and oversized numbers,
// words where numbers belong, and empty blocks where blocks are expected.
// Each runs with limits that make every repair run and with the defaults;
// each has its outcome, and every run keeps the promises of runChecked.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <string>

#include "reliability/malformed_shapes.h"
#include "reliability/run_contract.h"
#include "support/shape_files.h"

using namespace orvane;
using namespace orvane::test;

namespace {

enum class Outcome { Completes, Stops };

struct BrokenShape {
    const char* name;
    std::function<std::string(const std::string&)> breakIt;
    Outcome withRepairs;   // under repairingLimits()
    Outcome withDefaults;  // under the default limits
    const char* saying;    // part of the stop message (either run), or ""
};

std::function<std::string(const std::string&)> replacing(std::string from, std::string to) {
    return [from, to](const std::string& body) { return replaceFirst(body, from, to); };
}

std::function<std::string(const std::string&)> emptying(std::string head) {
    return [head](const std::string& body) { return emptyFirstBlock(body, head); };
}

void PrintTo(const BrokenShape& shape, std::ostream* out) { *out << shape.name; }

constexpr Outcome C = Outcome::Completes;
constexpr Outcome S = Outcome::Stops;

const BrokenShape kBrokenShapes[] = {
    // --- counts that lie ---------------------------------------------------
    {"VertexIdxsCountLarger", replacing("vertex_idxs ( 18 0 25", "vertex_idxs ( 30 0 25"), S, S, "count 30"},
    {"VertexIdxsCountSmaller", replacing("vertex_idxs ( 18 0 25", "vertex_idxs ( 9 0 25"), C, C, ""},
    {"NormalIdxsCountLarger", replacing("normal_idxs ( 6 0 3", "normal_idxs ( 9 0 3"), C, C, ""},
    {"NormalIdxsCountSmaller", replacing("normal_idxs ( 6 0 3", "normal_idxs ( 3 0 3"), C, C, ""},
    {"PrimitivesCountLarger", replacing("primitives ( 4", "primitives ( 9"), C, C, ""},
    {"PrimitivesCountSmaller", replacing("primitives ( 4", "primitives ( 1"), C, C, ""},
    {"VerticesCountLarger", replacing("vertices ( 162", "vertices ( 500"), S, C, "499"},
    {"VerticesCountSmaller", replacing("vertices ( 162", "vertices ( 10"), C, C, ""},
    {"PointsCountLarger", replacing("points ( 162", "points ( 999"), C, C, ""},
    {"PointsCountSmaller", replacing("points ( 162", "points ( 3"), C, C, ""},
    {"SubObjectsCountLarger", replacing("sub_objects ( 1", "sub_objects ( 5"), C, C, ""},
    {"SubObjectsCountZero", replacing("sub_objects ( 1", "sub_objects ( 0"), C, C, ""},
    {"GeometryNodesCountLarger", replacing("geometry_nodes ( 2", "geometry_nodes ( 7"), C, C, ""},
    {"GeometryNodesCountSmaller", replacing("geometry_nodes ( 2", "geometry_nodes ( 1"), C, C, ""},
    {"PolygonCountLarger", replacing("geometry_info ( 12 2", "geometry_info ( 9999 2"), C, C, ""},
    {"PolygonCountSmaller", replacing("geometry_info ( 12 2", "geometry_info ( 1 2"), C, C, ""},
    {"CullablePrimsCountsLarger", replacing("cullable_prims ( 1 6 18 )", "cullable_prims ( 5 600 1800 )"), C, C, ""},
    {"VertexSetsCountLarger", replacing("vertex_sets ( 2", "vertex_sets ( 5"), C, C, ""},
    {"VertexSetSizeLarger", replacing("vertex_set ( 1 81 81 )", "vertex_set ( 1 81 900 )"), C, C, ""},
    {"DistanceLevelsCountLarger", replacing("distance_levels ( 1", "distance_levels ( 4"), C, C, ""},
    {"GeometryNodeMapCountLarger", replacing("geometry_node_map ( 2 0 1 )", "geometry_node_map ( 5 0 1 )"), S, C, "geometry_node_map"},
    {"AnimationFramesHuge", replacing("animation ( 15 30", "animation ( 2000000000 30"), S, S, "beyond 32 bits"},
    // --- indices past the tables -------------------------------------------
    {"VertexIndexPastVertices", replacing("vertex_idxs ( 18 0 25 1", "vertex_idxs ( 18 0 25 900"), S, S, "vertex index 900"},
    {"PointIndexPastPoints", replacing("vertex ( 00000000 1 1", "vertex ( 00000000 900 1"), S, S, "point index 900"},
    {"PrimStateIdxPastPrimStates", replacing("prim_state_idx ( 1 )", "prim_state_idx ( 7 )"), S, C, "prim_state 7"},
    {"VtxStatePastVtxStates", replacing("tex_idxs ( 1 0 ) 0 1 0 0 1", "tex_idxs ( 1 0 ) 0 9 0 0 1"), S, C, "vtx_state 9"},
    {"MatrixPastGeometryNodeMap", replacing("vtx_state ( 00000000 1 -5", "vtx_state ( 00000000 9 -5"), S, C, "matrix 9"},
    {"GeometryNodePastGeometryNodes", replacing("geometry_node_map ( 2 0 1 )", "geometry_node_map ( 2 0 9 )"), S, C, "geometry node 9"},
    {"VertexSetStatePastVtxStates", replacing("vertex_set ( 1 81 81 )", "vertex_set ( 9 81 81 )"), S, C, "vtx_state 9"},
    {"VertexSetStartPastVertices", replacing("vertex_set ( 1 81 81 )", "vertex_set ( 1 900 81 )"), S, C, "vertex 900"},
    // --- negative numbers ---------------------------------------------------
    {"NegativeVertexIndex", replacing("vertex_idxs ( 18 0 25 1", "vertex_idxs ( 18 0 25 -1"), S, S, "vertex index -1"},
    {"NegativePointIndex", replacing("vertex ( 00000000 1 1", "vertex ( 00000000 -7 1"), S, S, "point index -7"},
    {"NegativePrimStateIdx", replacing("prim_state_idx ( 1 )", "prim_state_idx ( -1 )"), S, C, "prim_state -1"},
    {"NegativeVtxState", replacing("tex_idxs ( 1 0 ) 0 1 0 0 1", "tex_idxs ( 1 0 ) 0 -1 0 0 1"), S, C, "vtx_state -1"},
    {"NegativeMatrix", replacing("vtx_state ( 00000000 1 -5", "vtx_state ( 00000000 -2 -5"), S, C, "matrix -2"},
    {"NegativeGeometryNode", replacing("geometry_node_map ( 2 0 1 )", "geometry_node_map ( 2 0 -3 )"), S, C, "geometry node -3"},
    {"NegativeVertexSetStart", replacing("vertex_set ( 1 81 81 )", "vertex_set ( 1 -81 81 )"), S, C, "vertex -81"},
    {"NegativeVertexIdxsCount", replacing("vertex_idxs ( 18 0 25", "vertex_idxs ( -18 0 25"), C, C, ""},
    {"NegativePrimitivesCount", replacing("primitives ( 4", "primitives ( -4"), C, C, ""},
    {"NegativePolygonCount", replacing("geometry_info ( 12 2", "geometry_info ( -12 2"), C, C, ""},
    // --- numbers beyond 32 bits ----------------------------------------------
    {"VertexIdxsCountBeyond32Bits", replacing("vertex_idxs ( 18 0 25", "vertex_idxs ( 4294967314 0 25"), S, S, "4294967314"},
    {"VertexIndexBeyond32Bits", replacing("vertex_idxs ( 18 0 25 1", "vertex_idxs ( 18 0 25 4294967297"), S, S, "4294967297"},
    {"PrimitivesCountBeyond64Bits", replacing("primitives ( 4", "primitives ( 99999999999999999999999"), S, C, "99999999999999999999999"},
    {"PrimStateIdxBeyond32Bits", replacing("prim_state_idx ( 1 )", "prim_state_idx ( 4294967297 )"), S, C, "4294967297"},
    {"FaceCountBeyond32Bits", replacing("normal_idxs ( 6 0 3", "normal_idxs ( 8589934598 0 3"), S, S, "8589934598"},
    {"PolygonCountBeyond32Bits", replacing("geometry_info ( 12 2", "geometry_info ( 4294967308 2"), S, S, "4294967308"},
    // --- words where numbers belong -----------------------------------------
    {"WordVertexIdxsCount", replacing("vertex_idxs ( 18 0 25", "vertex_idxs ( x 0 25"), S, S, "\"x\""},
    {"WordFaceCount", replacing("normal_idxs ( 6 0 3", "normal_idxs ( six 0 3"), S, S, "\"six\""},
    {"FractionPrimitivesCount", replacing("primitives ( 4", "primitives ( 4.5"), C, C, ""},
    {"ExponentPolygonCount", replacing("geometry_info ( 12 2", "geometry_info ( 1e3 2"), C, C, ""},
    {"HexVertexIndex", replacing("vertex_idxs ( 18 0 25 1", "vertex_idxs ( 18 0 25 0x1"), S, S, "\"0x1\""},
    {"WordCoordinate", replacing("point ( -6.042360", "point ( abc"), S, S, "\"abc\""},
    {"WordFrameRate", replacing("animation ( 15 30", "animation ( 15 thirty"), S, S, "\"thirty\""},
    {"WordDistanceLevelsCount", replacing("distance_levels ( 1", "distance_levels ( one"), C, C, ""},
    // --- empty blocks where blocks are expected -----------------------------
    {"EmptyVertexIdxs", emptying("vertex_idxs ("), S, S, "vertex_idxs"},
    {"EmptyNormalIdxs", emptying("normal_idxs ("), S, S, "normal_idxs"},
    {"EmptyIndexedTrilist", emptying("indexed_trilist ("), S, C, "indexed_trilist"},
    {"EmptyPrimitives", emptying("primitives ("), S, C, "primitives"},
    {"EmptyPoints", emptying("points ("), S, S, "0 points"},
    {"EmptyVertices", emptying("vertices ("), S, S, "0 vertices"},
    {"EmptyVertexSets", emptying("vertex_sets ("), S, C, "vertex set"},
    {"EmptySubObjects", emptying("sub_objects ("), S, S, "sub_objects"},
    {"EmptySubObject", emptying("sub_object ("), S, S, "sub_object_header"},
    {"EmptySubObjectHeader", emptying("sub_object_header ("), S, S, "geometry_info"},
    {"EmptyGeometryInfo", emptying("geometry_info ("), S, S, "geometry_info"},
    {"EmptyGeometryNodes", emptying("geometry_nodes ("), S, C, "geometry_nodes"},
    {"EmptyGeometryNodeMap", emptying("geometry_node_map ("), S, C, "geometry_node_map"},
    {"EmptyCullablePrims", emptying("cullable_prims ("), S, C, "cullable_prims"},
    {"EmptyVtxStates", emptying("vtx_states ("), S, C, "vtx_states"},
    {"EmptyPrimStates", emptying("prim_states ("), S, C, "prim_states"},
    {"EmptyLodControls", emptying("lod_controls ("), C, C, ""},
    {"EmptyDistanceLevels", emptying("distance_levels ("), S, S, "distance_levels"},
    {"EmptyDlevelSelection", emptying("dlevel_selection ("), S, S, "dlevel_selection"},
    {"EmptyAnimations", emptying("animations ("), C, C, ""},
    {"EmptyAnimation", emptying("animation ("), S, S, "animation"},
    {"EmptyAnimNodes", emptying("anim_nodes ("), C, C, ""},
    {"EmptyControllers", emptying("controllers ("), C, C, ""},
};

class BrokenContent : public ::testing::TestWithParam<BrokenShape> {
protected:
    void runWith(const RunLimits& limits, Outcome expected) {
        const BrokenShape& shape = GetParam();
        writeShape(dir_ / "model.s", shape.breakIt(repairableShapeBody()));
        CheckedRun run = runChecked(dir_ / "model.s", limits, allSwitchesOn());
        const RunOutcome outcome = run.result.outcome;
        if (expected == Outcome::Completes) {
            EXPECT_EQ(outcome, RunOutcome::Completed) << describe(run.result);
        } else {
            EXPECT_EQ(outcome, RunOutcome::Stopped) << describe(run.result);
            EXPECT_NE(run.result.problem.find(shape.saying), std::string::npos) << run.result.problem;
        }
    }
    TempDir dir_;
};

TEST(BrokenContentBase, TheUnbrokenShapeIsRepairedAndWritten) {
    TempDir dir;
    writeShape(dir / "model.s", repairableShapeBody());
    CheckedRun run = runChecked(dir / "model.s", repairingLimits(), allSwitchesOn());
    EXPECT_EQ(run.result.outcome, RunOutcome::Completed) << describe(run.result);
    EXPECT_TRUE(run.result.wrote);
    const auto& report = run.view.report;
    for (const char* repair : {"Splitting Primitive", "Creating new sub-object"})
        EXPECT_NE(std::find(report.begin(), report.end(), repair), report.end()) << repair;
}

TEST_P(BrokenContent, WithEveryRepairRunning) { runWith(repairingLimits(), GetParam().withRepairs); }
TEST_P(BrokenContent, WithDefaultLimits) { runWith(RunLimits{}, GetParam().withDefaults); }

INSTANTIATE_TEST_SUITE_P(Shapes, BrokenContent, ::testing::ValuesIn(kBrokenShapes),
                         [](const ::testing::TestParamInfo<BrokenShape>& info) { return std::string(info.param.name); });

}  // namespace

// What a run's splits and divisions made, traced through a whole fix run and
// shown on the repaired shape: the parts of each split, the sub-objects a
// division inserted, and the colours of the parts in the picture.

#include <gtest/gtest.h>

#include <optional>
#include <tuple>
#include <vector>

#include "fixes/repair_trace.h"
#include "fixes/sub_objects.h"
#include "generator/shape_generator.h"
#include "geometry/lod_geometry.h"
#include "picture/shape_picture.h"
#include "run/fix_run.h"
#include "run/recording_view.h"
#include "support/shape_files.h"

namespace orvane::test {
namespace {

using geometry::FindingKind;
using geometry::LodGeometry;
using geometry::PlacedFinding;

// A view that traces the repairs and builds LOD 0 of the shape as written.
class TracingView : public RecordingView {
public:
    explicit TracingView(const RunLimits& limits) : limits_(limits) {}
    RepairTrace* repairTrace() override { return &trace; }
    void shapeWritten(const clsReader& root) override {
        ++written;
        repaired = geometry::buildLodGeometry(root, 0, limits_, &trace);
    }

    RepairTrace trace;
    std::optional<LodGeometry> repaired;
    int written = 0;

private:
    RunLimits limits_;
};

// Runs a generated shape of 600 triangles in one sub-object.
struct TracedRun {
    TracedRun(int geometryNodes, RunLimits runLimits, RunSwitches switches = {}) : limits(runLimits), view(limits) {
        ShapeParameters params;
        params.triangles = 600;
        params.geometryNodesPerSubObject = geometryNodes;
        writeGeneratedShape(dir / "model.s", params);
        result = runFix(dir / "model.s", view, limits, switches);
    }

    std::vector<PlacedFinding> findingsOf(FindingKind kind) const {
        std::vector<PlacedFinding> found;
        for (const PlacedFinding& f : view.repaired->findings)
            if (f.kind == kind) found.push_back(f);
        return found;
    }

    TempDir dir;
    RunLimits limits;
    TracingView view;
    RunResult result;
};

RunLimits limitsOf(std::int32_t maxPrimFaces, std::int32_t maxObjectPolys) {
    RunLimits limits;
    limits.maxPrimFaces = maxPrimFaces;
    limits.maxObjectPolys = maxObjectPolys;
    return limits;
}

TEST(RepairTrace, TheWrittenShapeShowsEachPartOfASplitWithItsNumber) {
    TracedRun run(1, limitsOf(250, 11000));
    ASSERT_TRUE(run.result.wrote) << run.result.problem;
    ASSERT_EQ(run.view.written, 1);
    const LodGeometry& lod = *run.view.repaired;
    ASSERT_EQ(lod.primitives.size(), 3u);
    for (std::int32_t i = 0; i < 3; ++i) {
        EXPECT_EQ(lod.primitives[static_cast<std::size_t>(i)].piece, i + 1);
        EXPECT_EQ(lod.primitives[static_cast<std::size_t>(i)].split, 0);
    }
    const auto pieces = run.findingsOf(FindingKind::SplitPiece);
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(pieces[1].count, 2);
    EXPECT_EQ(pieces[1].pieces, 3);
    EXPECT_EQ(geometry::describe(pieces[1]), "piece 2 of 3 of a split primitive, LOD 0, sub-object 0, primitive 1");
}

TEST(RepairTrace, PartsMovedIntoADividedCopyKeepTheirNumbers) {
    // Two geometry nodes of 300 triangles, each one primitive: both split in
    // two, then the second node goes to a new sub-object.
    TracedRun run(2, limitsOf(250, 400));
    ASSERT_TRUE(run.result.wrote) << run.result.problem;
    const auto made = run.findingsOf(FindingKind::DividedSubObject);
    ASSERT_EQ(made.size(), 1u);
    EXPECT_EQ(made[0].subObject, 1);
    EXPECT_EQ(geometry::describe(made[0]), "sub-object made by a division, LOD 0, sub-object 1");

    std::vector<std::tuple<int, int, int, int>> records;
    for (const geometry::PrimitiveRecord& p : run.view.repaired->primitives)
        records.emplace_back(p.subObject, p.primitive, p.split, p.piece);
    const std::vector<std::tuple<int, int, int, int>> expected{{0, 0, 0, 1}, {0, 1, 0, 2}, {1, 0, 1, 1}, {1, 1, 1, 2}};
    EXPECT_EQ(records, expected);
}

TEST(RepairTrace, ADeepCopyOfAPartGetsItsEntry) {
    NodePtr root = readShape("shape ( primitives ( 2 prim_state_idx ( 0 ) indexed_trilist ( vertex_idxs ( 3 0 1 2 ) ) ) )");
    const NodePtr primitives = root->Find("primitives");
    ASSERT_TRUE(primitives && primitives->Nodes().size() == 2u);
    RepairTrace trace;
    trace.recordSplit({clsReader::create("indexed_trilist"), primitives->Nodes()[1]});
    NodePtr copy = clsReader::create();
    copyNode(*primitives, *copy);
    trace.recordCopy(*primitives, copy);
    const auto entry = trace.pieces.find(copy->Nodes()[1].get());
    ASSERT_NE(entry, trace.pieces.end());
    EXPECT_EQ(entry->second.piece, 2);
    EXPECT_EQ(entry->second.pieces, 2);
    EXPECT_EQ(trace.pieces.count(copy->Nodes()[0].get()), 0u);
}

TEST(RepairTrace, NeighbouringPartsAreDrawnInDifferentColourFamilies) {
    TracedRun run(1, limitsOf(250, 11000));
    ASSERT_TRUE(run.view.repaired);
    const LodGeometry& lod = *run.view.repaired;
    const int w = 320, h = 200;
    const picture::Image image =
        picture::drawLod(lod, picture::fittedCamera(lod, picture::ViewKind::Iso, w, h), w, h, picture::DrawOptions{});
    int odd = 0, even = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::uint32_t id = image.idAt(x, y);
            if (id == picture::kNoTriangle) continue;
            const std::int32_t piece = lod.primitives[lod.recordOf(id)].piece;
            const std::uint8_t* p = image.pixel(x, y);
            if (piece == 1) {
                ++odd;
                EXPECT_TRUE(p[1] > p[0] && p[1] > p[2]) << "piece 1 is green at " << x << "," << y;
            } else if (piece == 2) {
                ++even;
                EXPECT_TRUE(p[1] < p[0] && p[1] < p[2]) << "piece 2 is mauve at " << x << "," << y;
            }
        }
    EXPECT_GT(odd, 100);
    EXPECT_GT(even, 100);
}

TEST(RepairTrace, NoWrittenShapeIsShownAfterAReportOnlyRun) {
    RunSwitches reportOnly;
    reportOnly.chkReport = true;
    TracedRun run(1, limitsOf(250, 11000), reportOnly);
    EXPECT_EQ(run.result.outcome, RunOutcome::Completed);
    EXPECT_EQ(run.view.written, 0);
}

}  // namespace
}  // namespace orvane::test

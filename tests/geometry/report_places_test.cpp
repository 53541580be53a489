// From a report line to the place it names, and from the place to the
// finding of the LOD's geometry that stands there.

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "fixes/survey.h"
#include "generator/shape_generator.h"
#include "geometry/lod_geometry.h"
#include "geometry/report_places.h"
#include "support/shape_files.h"

namespace orvane::test {
namespace {

using geometry::kNoPlace;
using geometry::ReportPlace;

// Two LODs; the sub-objects show labels, one none, and a label of one LOD
// is shown again in the other.
const std::vector<std::string> kReport = {
    "No of LOD's\t2",                                   // 0
    "LOD Distance\t200",                                // 1
    "Sub Objects\t2",                                   // 2
    "Sub Object 0\t10 polygons",                        // 3
    "\t\t0\t10 polygons",                               // 4
    "Sub Object 7\t4000 polygons\t\t<<<< Oversized sub-object",  // 5
    "\t\t0\t3000 polygons\t<<<< Oversized primitive",   // 6
    "\t\t1\t1000 polygons",                             // 7
    "\t\tPoly12\t5(0.1,0.2,0.3)",                       // 8
    "\t\t\t6(0.1,0.2,0.301) 1mm",                       // 9
    "LOD Distance\t500",                                // 10
    "Sub Objects\t2",                                   // 11
    "Sub Object 7\t20 polygons",                        // 12
    "Sub Object \t5000 polygons\t\t<<<< Oversized sub-object",  // 13
    "\t\t0\t5000 polygons\t<<<< Oversized primitive",   // 14
    "\t\tPoly3\t1(0,0,0)",                              // 15
    "\t\t\t2(0,0,0.002) 2mm",                           // 16
    "Splitting Primitive",                              // 17
    "Sub-object left undivided (LOD 200, sub-object 7, 4000 polygons): its first geometry node alone exceeds the limit",
    "Sub-object left undivided (LOD 500, sub-object 1, 5000 polygons): no split position within the limit",  // 19
    "Finished",                                         // 20
};

std::optional<ReportPlace> placeOf(std::size_t index, const std::vector<std::string>& lines = kReport) {
    return geometry::reportPlaceAt(
        [&](std::size_t i) { return i < lines.size() ? lines[i] : std::string(); }, index);
}

auto numbers(const ReportPlace& p) {
    return std::make_tuple(p.lod, p.subObject, p.primitive, p.polyNumber, p.vertexA, p.vertexB);
}
auto numbers(int lod, int subObject, int primitive = kNoPlace, int poly = kNoPlace, int a = kNoPlace,
             int b = kNoPlace) {
    return std::make_tuple(lod, subObject, primitive, poly, a, b);
}

TEST(ReportPlaces, LodLineNamesTheLodByTheDistanceLinesAboveIt) {
    ASSERT_TRUE(placeOf(10));
    EXPECT_EQ(numbers(*placeOf(10)), numbers(1, kNoPlace));
}

TEST(ReportPlaces, SubObjectLineNamesItsPositionInItsLodNotItsLabel) {
    ASSERT_TRUE(placeOf(5) && placeOf(13));
    EXPECT_EQ(numbers(*placeOf(5)), numbers(0, 1));
    EXPECT_EQ(numbers(*placeOf(13)), numbers(1, 1));
}

TEST(ReportPlaces, PrimitiveLineNamesThePrimitiveOfTheSubObjectAbove) {
    ASSERT_TRUE(placeOf(7));
    EXPECT_EQ(numbers(*placeOf(7)), numbers(0, 1, 1));
}

TEST(ReportPlaces, BothLinesOfAShortEdgeNameTheEdge) {
    ASSERT_TRUE(placeOf(8) && placeOf(9) && placeOf(16));
    EXPECT_EQ(numbers(*placeOf(8)), numbers(0, 1, 1, 12, 5, 6));
    EXPECT_EQ(numbers(*placeOf(9)), numbers(0, 1, 1, 12, 5, 6));
    EXPECT_EQ(numbers(*placeOf(16)), numbers(1, 1, 0, 3, 1, 2));
}

TEST(ReportPlaces, UndividedLineNamesTheSubObjectByDistanceAndLabel) {
    ASSERT_TRUE(placeOf(18) && placeOf(19));
    EXPECT_EQ(numbers(*placeOf(18)), numbers(0, 1));
    // Without a label the line shows the sub-object's position.
    EXPECT_EQ(numbers(*placeOf(19)), numbers(1, 1));
}

TEST(ReportPlaces, OtherLinesNameNothing) {
    for (std::size_t index : {0u, 2u, 11u, 17u, 20u}) EXPECT_FALSE(placeOf(index)) << kReport[index];
    // A short edge's second line with no first line above it.
    EXPECT_FALSE(placeOf(1, {"LOD Distance\t200", "\t\t\t6(0.1,0.2,0.301) 1mm"}));
}

TEST(ReportPlaces, ReadsEachLineAboveAtMostTwice) {
    std::vector<std::string> lines = kReport;
    lines.insert(lines.begin() + 9, 100000, "\t\t\t7(0,0,0) 1mm");  // a very long run of lines in one LOD
    const std::size_t undivided = lines.size() - 3;
    std::size_t reads = 0;
    auto lineAt = [&](std::size_t i) {
        ++reads;
        return i < lines.size() ? lines[i] : std::string();
    };
    ASSERT_TRUE(geometry::reportPlaceAt(lineAt, undivided));
    EXPECT_LE(reads, 2 * (undivided + 2));
}

TEST(ReportPlaces, EveryReportedFindingIsFoundAtItsPlace) {
    ShapeParameters params;
    params.triangles = 6000;
    params.lods = 2;
    params.subObjects = 2;
    params.trianglesPerPrimitive = 500;
    params.shortEdgeFraction = 0.01;
    NodePtr root = readShape(generateShapeBody(params));
    const RunLimits limits{300, 1500, kDefaultMinEdgeSqr};
    RecordingReport report;
    RunState run(report, limits, RunSwitches{});
    run.r = root;
    run.shapePoints = root->Find("points");
    checkLods(run, *root);
    const std::vector<geometry::LodGeometry> lods = {geometry::buildLodGeometry(*root, 0, limits),
                                                     geometry::buildLodGeometry(*root, 1, limits)};

    int edges = 0, primitives = 0, subObjects = 0;
    for (std::size_t i = 0; i < report.lines.size(); ++i) {
        const std::string& line = report.lines[i];
        const bool edge = line.rfind("\t\tPoly", 0) == 0 || line.rfind("\t\t\t", 0) == 0;
        const bool oversize = line.find("<<<< Oversized") != std::string::npos;
        if (!edge && !oversize) continue;
        SCOPED_TRACE(line);
        const auto place = placeOf(i, report.lines);
        ASSERT_TRUE(place && place->lod >= 0 && place->lod < 2);
        const geometry::PlacedFinding* f = geometry::findingAt(lods[static_cast<std::size_t>(place->lod)], *place);
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(std::tie(f->subObject, f->primitive, f->polyNumber), std::tie(place->subObject, place->primitive, place->polyNumber));
        if (edge) {
            EXPECT_EQ(f->kind, geometry::FindingKind::ShortEdge);
            EXPECT_EQ(std::tie(f->vertexA, f->vertexB), std::tie(place->vertexA, place->vertexB));
            ++edges;
        } else if (place->primitive != kNoPlace) {
            EXPECT_EQ(f->kind, geometry::FindingKind::OversizePrimitive);
            ++primitives;
        } else {
            EXPECT_EQ(f->kind, geometry::FindingKind::OversizeSubObject);
            ++subObjects;
        }
        // The place is in one LOD only.
        EXPECT_EQ(geometry::findingAt(lods[static_cast<std::size_t>(1 - place->lod)], *place), nullptr);
    }
    EXPECT_GT(edges, 0);
    EXPECT_GT(primitives, 0);
    EXPECT_GT(subObjects, 0);
}

}  // namespace
}  // namespace orvane::test

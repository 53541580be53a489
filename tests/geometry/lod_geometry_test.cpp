// The triangles of a LOD in space: placement up the hierarchy, the report's
// numbering, and faults that leave triangles out.

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <tuple>

#include "fixes/survey.h"
#include "generator/shape_generator.h"
#include "geometry/lod_geometry.h"
#include "geometry/placed_shapes.h"
#include "support/shape_files.h"

namespace orvane::test {
namespace {

using geometry::FaultKind;
using geometry::FindingKind;
using geometry::LodGeometry;

LodGeometry build(const PlacedShapeParts& parts, RunLimits limits = {}) {
    NodePtr root = readShape(placedShape(parts));
    EXPECT_FALSE(root->Nodes().empty());
    return geometry::buildLodGeometry(*root, 0, limits);
}

void expectAt(const geometry::Vec3f& p, float x, float y, float z) {
    EXPECT_NEAR(p.x, x, 1e-5);
    EXPECT_NEAR(p.y, y, 1e-5);
    EXPECT_NEAR(p.z, z, 1e-5);
}

TEST(LodGeometry, PlacesCornersUpAThreeLevelHierarchy) {
    const LodGeometry lod = build(PlacedShapeParts{});
    ASSERT_EQ(lod.triangles.size(), 3u);
    // WHEELS turns about x and moves up 1, BOGIE moves by (1, 2, 3), ROOT
    // turns a quarter about y and moves forward 10.
    const auto& first = lod.triangles[0];
    expectAt(lod.corners[first.corner[0]], 4, 3, 9);
    expectAt(lod.corners[first.corner[1]], 3, 3, 8);
    expectAt(lod.corners[first.corner[2]], 3, 2, 9);
    // The second primitive is drawn by ROOT alone.
    expectAt(lod.corners[lod.triangles[2].corner[0]], 0, 1, 10);
    EXPECT_TRUE(lod.findings.size() == 1 && lod.findings[0].kind == FindingKind::ShortEdge);
}

TEST(LodGeometry, TagsTrianglesAndShortEdgeAsTheReportNumbersThem) {
    const LodGeometry lod = build(PlacedShapeParts{});
    const auto tag = lod.tag(1);
    EXPECT_EQ(std::tie(tag.lod, tag.subObject, tag.primitive, tag.polyNumber, tag.primState),
              std::make_tuple(0, 0, 0, 3, 2));
    EXPECT_EQ(lod.tag(2).primitive, 1);
    EXPECT_EQ(lod.tag(2).polyNumber, 2);
    const auto& edge = lod.findings[0];
    EXPECT_EQ(std::tie(edge.primitive, edge.polyNumber, edge.vertexA, edge.vertexB), std::make_tuple(0, 3, 3, 2));
    ASSERT_TRUE(edge.placed);
    expectAt(edge.b, 3, 2, 9);
}

TEST(LodGeometry, TriangleNumbersEqualTheReportsOnAGeneratedShape) {
    ShapeParameters params;
    params.triangles = 3000;
    params.subObjects = 2;
    params.trianglesPerPrimitive = 700;
    params.shortEdgeFraction = 0.01;
    NodePtr root = readShape(generateShapeBody(params));
    RecordingReport report;
    RunState run(report, RunLimits{}, RunSwitches{});
    run.r = root;
    run.shapePoints = root->Find("points");
    checkLods(run, *root);

    // From the report: faces per (sub-object, primitive) and the short edges' places.
    std::map<std::pair<int, int>, long> faces;
    std::vector<std::tuple<int, int, int>> reportedEdges;
    int subObject = -1, primitive = -1;
    const std::regex primitiveLine("\t\t(\\d+)\t(\\d+) polygons.*"), polyLine("\t\tPoly(\\d+)\t.*");
    for (const std::string& line : report.lines) {
        std::smatch m;
        if (line.rfind("Sub Object ", 0) == 0) ++subObject;
        else if (std::regex_match(line, m, primitiveLine)) faces[{subObject, primitive = std::stoi(m[1])}] = std::stol(m[2]);
        else if (std::regex_match(line, m, polyLine)) reportedEdges.emplace_back(subObject, primitive, std::stoi(m[1]));
    }
    ASSERT_FALSE(reportedEdges.empty());

    const LodGeometry lod = geometry::buildLodGeometry(*root, 0, RunLimits{});
    std::map<std::pair<int, int>, long> drawn;
    std::map<std::pair<int, int>, int> nextPoly;
    for (std::size_t i = 0; i < lod.triangles.size(); ++i) {
        const auto tag = lod.tag(i);
        ++drawn[{tag.subObject, tag.primitive}];
        int& expected = nextPoly.try_emplace({tag.subObject, tag.primitive}, 2).first->second;
        ASSERT_EQ(tag.polyNumber, expected++);
    }
    EXPECT_EQ(drawn, faces);
    std::vector<std::tuple<int, int, int>> foundEdges;
    for (const auto& f : lod.findings)
        if (f.kind == FindingKind::ShortEdge) foundEdges.emplace_back(f.subObject, f.primitive, f.polyNumber);
    EXPECT_EQ(foundEdges, reportedEdges);
    EXPECT_LE(lod.bytesKept(), 48 * lod.triangles.size());
}

struct Fault {
    const char* name;
    void (*breakIt)(PlacedShapeParts&);
    FaultKind kind;
    int primitive;
    int polyNumber;
    std::size_t trianglesLeft;
};

const Fault kFaults[] = {
    {"point", [](PlacedShapeParts& s) { s.vertices.replace(s.vertices.find("0 3 0 0 0"), 9, "0 7 0 0 0"); },
     FaultKind::PointOutOfRange, 0, 3, 2},
    {"normal", [](PlacedShapeParts& s) { s.vertices.replace(s.vertices.find("0 3 0 0 0"), 9, "0 3 5 0 0"); },
     FaultKind::NormalOutOfRange, 0, 3, 2},
    {"vertex", [](PlacedShapeParts& s) { s.primitives.replace(s.primitives.find("1 2 3"), 5, "1 2 9"); },
     FaultKind::VertexOutOfRange, 0, 3, 2},
    {"prim_state", [](PlacedShapeParts& s) { s.primitives.replace(s.primitives.find("( 0 )"), 5, "( 8 )"); },
     FaultKind::PrimStateOutOfRange, 1, 2, 2},
    {"vtx_state", [](PlacedShapeParts& s) { s.primStates.replace(s.primStates.find("0 2 0 0 1"), 9, "0 5 0 0 1"); },
     FaultKind::VtxStateOutOfRange, 0, 2, 1},
    {"matrix", [](PlacedShapeParts& s) { s.vtxStates.replace(s.vtxStates.find("0 2 -5"), 6, "0 4 -5"); },
     FaultKind::MatrixOutOfRange, 0, 2, 1},
    {"parent", [](PlacedShapeParts& s) { s.hierarchy = "hierarchy ( 3 -1 0 6 )"; }, FaultKind::ParentOutOfRange, 0, 2, 1},
    {"short hierarchy", [](PlacedShapeParts& s) { s.hierarchy = "hierarchy ( 3 -1 0 )"; }, FaultKind::ParentOutOfRange, 0, 2, 1},
    {"loop", [](PlacedShapeParts& s) { s.hierarchy = "hierarchy ( 3 2 0 1 )"; }, FaultKind::ParentLoop, 0, 2, 0},
    {"not finite", [](PlacedShapeParts& s) { s.points.replace(s.points.find("1 0 0"), 5, "1e39 0 0"); },
     FaultKind::NotFinite, 0, 2, 0},
    {"indices", [](PlacedShapeParts& s) { s.primitives.replace(s.primitives.find("( 3 0 1 2 )"), 11, "( 6 0 1 2 )"); },
     FaultKind::IndicesMissing, 1, 3, 3},
};

TEST(LodGeometry, EachGeometryFaultBecomesAFindingWithItsPlace) {
    for (const Fault& f : kFaults) {
        SCOPED_TRACE(f.name);
        PlacedShapeParts parts;
        f.breakIt(parts);
        const LodGeometry lod = build(parts);
        const geometry::PlacedFinding* found = nullptr;
        for (const auto& finding : lod.findings)
            if (finding.kind == FindingKind::GeometryFault && !found) found = &finding;
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found->fault, f.kind);
        EXPECT_EQ(std::tie(found->lod, found->subObject, found->primitive, found->polyNumber),
                  std::make_tuple(0, 0, f.primitive, f.polyNumber));
        EXPECT_EQ(lod.triangles.size(), f.trianglesLeft);
    }
}

TEST(LodGeometry, TrianglesAfterOneLeftOutKeepTheReportsNumbers) {
    PlacedShapeParts parts;
    parts.primitives.replace(parts.primitives.find("( 6 0 1 2 1 2 3 )"), 17, "( 6 0 1 9 1 2 3 )");
    const LodGeometry lod = build(parts);
    ASSERT_EQ(lod.triangles.size(), 2u);
    const auto second = lod.tag(0), other = lod.tag(1);
    EXPECT_EQ(std::tie(second.primitive, second.polyNumber), std::make_tuple(0, 3));
    EXPECT_EQ(std::tie(other.primitive, other.polyNumber), std::make_tuple(1, 2));
}

TEST(LodGeometry, ALevelBeyondTheShapeGivesNothing) {
    NodePtr root = readShape(placedShape(PlacedShapeParts{}));
    EXPECT_EQ(geometry::lodCount(*root), 1);
    EXPECT_TRUE(geometry::buildLodGeometry(*root, 1, RunLimits{}).triangles.empty());
}

}  // namespace
}  // namespace orvane::test

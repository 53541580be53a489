// The small-edge check: which edges are reported, how, which corner is
// lifted, and the malformed shapes that stop it. Each case runs through the
// survey (which keeps parsed points for its whole walk) and, where it
// matters, also through direct calls that read the tree afresh: the two
// must agree line for line.

#include <gtest/gtest.h>

#include <random>

#include "document/shape_error.h"
#include "document/tree_edit.h"
#include "fixes/check_shapes.h"
#include "fixes/small_edges.h"
#include "fixes/survey.h"

using namespace orvane;
using namespace orvane::test;

namespace {

using Lines = std::vector<std::string>;
using Triangles = std::vector<std::vector<int>>;

std::string edgeShape(const std::vector<std::string>& points, const std::vector<int>& vertices,
                      const Triangles& triangles) {
    std::vector<int> indices;
    for (const auto& t : triangles) indices.insert(indices.end(), t.begin(), t.end());
    std::string sub = subObject(subObjectHeader("1"), verticesBlock(vertices),
                                primitivesBlock({trilist(std::to_string(triangles.size()), indices)}));
    return shapeBody(pointsBlock(points) + lodControls({lodControl({distanceLevel("100", {sub})})}));
}

// What a run of the survey leaves: the short-edge lines (the five survey
// lines dropped), the points' texts and fixesMade.
struct Outcome {
    Lines lines;
    std::vector<std::string> pointYs;
    bool fixesMade = false;
};

std::vector<std::string> pointYs(const NodePtr& root) {
    std::vector<std::string> ys;
    for (const NodePtr& p : root->Find("points")->Nodes()) ys.emplace_back(valueAt(*p, 2));
    return ys;
}

Outcome bySurvey(const std::string& body, RunSwitches switches = {}, RunLimits limits = {}) {
    NodePtr root = readShape(body);
    CheckRun check(root, limits, switches);
    checkLods(check.run, *root);
    Outcome out;
    out.lines.assign(check.report.lines.begin() + 5, check.report.lines.end());
    out.pointYs = pointYs(root);
    out.fixesMade = check.run.fixesMade;
    return out;
}

// The same triangles handed one by one to the check, each read afresh from the tree.
Outcome byDirectCalls(const std::string& body, const Triangles& triangles, RunSwitches switches = {},
                      RunLimits limits = {}) {
    NodePtr root = readShape(body);
    CheckRun check(root, limits, switches);
    NodePtr vertices = root->Find("lod_controls")->Nodes()[0]->Find("distance_levels")->Nodes()[0]
                           ->Find("sub_objects")->Nodes()[0]->Find("vertices");
    std::int32_t polyNumber = 2;
    for (const auto& t : triangles) {
        CornerReader fresh;  // nothing remembered from earlier triangles
        checkPolyEdges(check.run, fresh, vertices.get(), t[0], t[1], t[2], polyNumber++);
    }
    Outcome out{check.report.lines, pointYs(root), check.run.fixesMade};
    return out;
}

Outcome bothWays(const std::string& body, const Triangles& triangles, RunSwitches switches = {},
                 RunLimits limits = {}) {
    Outcome survey = bySurvey(body, switches, limits);
    Outcome direct = byDirectCalls(body, triangles, switches, limits);
    EXPECT_EQ(survey.lines, direct.lines);
    EXPECT_EQ(survey.pointYs, direct.pointYs);
    EXPECT_EQ(survey.fixesMade, direct.fixesMade);
    return survey;
}

const std::vector<std::string> kFar = {"0 0 0", "10 0 0", "0 10 0"};

}  // namespace

TEST(SmallEdges, ReportsThePoly4Example) {
    std::vector<int> vertices(20, 3);
    vertices[1] = 4;
    vertices[2] = 5;
    vertices[17] = 0;
    vertices[18] = 1;
    vertices[19] = 2;
    Triangles triangles = {{0, 1, 2}, {0, 1, 2}, {17, 18, 19}};
    std::string body = edgeShape({"1.5 0.25 -3", "1.5 0.25 -3.0012", "50 50 50", "0 0 0", "10 0 0", "0 10 0"},
                                 vertices, triangles);
    Outcome out = bothWays(body, triangles);
    EXPECT_EQ(out.lines, (Lines{"\t\tPoly4\t17(1.5,0.25,-3)", "\t\t\t18(1.5,0.25,-3.0012) 1.2mm"}));
    EXPECT_FALSE(out.fixesMade);
}

TEST(SmallEdges, ThreeCornersOnOnePoint) {
    std::string body = edgeShape({"1 0.5 2"}, {0, 0, 0}, {{0, 1, 2}});
    Outcome reported = bothWays(body, {{0, 1, 2}});
    EXPECT_EQ(reported.lines, (Lines{"\t\tPoly2\t0(1,0.5,2)", "\t\t\t1(1,0.5,2) 0mm", "\t\tPoly2\t0(1,0.5,2)",
                                     "\t\t\t2(1,0.5,2) 0mm", "\t\tPoly2\t2(1,0.5,2)", "\t\t\t1(1,0.5,2) 0mm"}));
    EXPECT_EQ(reported.pointYs, (std::vector<std::string>{"0.5"}));
    EXPECT_FALSE(reported.fixesMade);

    // Corner 2 is read after edge 0-1 lifted the point: one metre away.
    Outcome lifted = bothWays(body, {{0, 1, 2}}, lifting());
    EXPECT_EQ(lifted.lines, (Lines{"\t\tPoly2\t0(1,0.5,2)", "\t\t\t1(1,0.5,2) 0mm"}));
    EXPECT_EQ(lifted.pointYs, (std::vector<std::string>{"1.5"}));
    EXPECT_TRUE(lifted.fixesMade);
}

TEST(SmallEdges, TwoCornersOnOnePointLiftItFromTheValueReadFirst) {
    std::string body = edgeShape({"0 2 0", "0.001 2 0"}, {0, 0, 1}, {{0, 1, 2}});
    Outcome out = bothWays(body, {{0, 1, 2}}, lifting());
    EXPECT_EQ(out.lines, (Lines{"\t\tPoly2\t0(0,2,0)", "\t\t\t1(0,2,0) 0mm", "\t\tPoly2\t0(0,2,0)",
                                "\t\t\t2(0.001,2,0) 1mm", "\t\tPoly2\t2(0.001,2,0)", "\t\t\t1(0,2,0) 1mm"}));
    EXPECT_EQ(out.pointYs, (std::vector<std::string>{"3", "3"}));
}

TEST(SmallEdges, EachShortEdgeLiftsItsOwnCorner) {
    // Points 0 and 1 are 2 mm apart; point 2 is far from both.
    const std::vector<std::string> points = {"0 0 0", "0 0 0.002", "5 5 5"};
    struct Case {
        std::vector<int> vertices;
        Lines lines;
        std::vector<std::string> ys;
    };
    const Case cases[] = {
        {{0, 1, 2}, {"\t\tPoly2\t0(0,0,0)", "\t\t\t1(0,0,0.002) 2mm"}, {"0", "1", "5"}},
        {{0, 2, 1}, {"\t\tPoly2\t0(0,0,0)", "\t\t\t2(0,0,0.002) 2mm"}, {"1", "0", "5"}},
        {{2, 0, 1}, {"\t\tPoly2\t2(0,0,0.002)", "\t\t\t1(0,0,0) 2mm"}, {"0", "1", "5"}},
    };
    for (const Case& c : cases) {
        Outcome out = bothWays(edgeShape(points, c.vertices, {{0, 1, 2}}), {{0, 1, 2}}, lifting());
        EXPECT_EQ(out.lines, c.lines);
        EXPECT_EQ(out.pointYs, c.ys);
        EXPECT_TRUE(out.fixesMade);
    }
}

TEST(SmallEdges, TheLimitIsTheSquaredMinimumEdge) {
    Outcome shortEdge = bySurvey(edgeShape({"0 0 0", "0.0024 0 0", "1 1 1"}, {0, 1, 2}, {{0, 1, 2}}));
    EXPECT_EQ(shortEdge.lines, (Lines{"\t\tPoly2\t0(0,0,0)", "\t\t\t1(0.0024,0,0) 2.4mm"}));
    EXPECT_TRUE(bySurvey(edgeShape({"0 0 0", "0.0026 0 0", "1 1 1"}, {0, 1, 2}, {{0, 1, 2}})).lines.empty());

    RunLimits wider;
    wider.minEdgeSqr = 0.0001f;  // 10 mm
    EXPECT_EQ(bySurvey(edgeShape({"0 0 0", "0 0.0026 0", "1 1 1"}, {0, 1, 2}, {{0, 1, 2}}), {}, wider).lines.size(), 2u);
}

TEST(SmallEdges, LiftWritesSevenSignificantDigits) {
    Outcome out = bySurvey(edgeShape({"4 1.23456789 -7", "4 1.23456789 -7", "9 9 9"}, {0, 1, 2}, {{0, 1, 2}}),
                           lifting());
    EXPECT_EQ(out.lines, (Lines{"\t\tPoly2\t0(4,1.23457,-7)", "\t\t\t1(4,1.23457,-7) 0mm"}));
    EXPECT_EQ(out.pointYs, (std::vector<std::string>{"1.23456789", "2.234568", "9"}));
}

TEST(SmallEdges, LaterTrianglesSeeTheLiftedTextAsWritten) {
    // The lift writes 2.234568, not the single 2.2345679 it computed; a later
    // triangle reads the written text, which matches point 3 exactly.
    RunLimits exact;
    exact.minEdgeSqr = 1e-30f;
    Triangles triangles = {{0, 1, 2}, {1, 3, 2}};
    std::string body = edgeShape({"4 1.23456789 -7", "4 1.23456789 -7", "9 9 9", "4 2.234568 -7"}, {0, 1, 2, 3},
                                 triangles);
    Outcome out = bothWays(body, triangles, lifting(), exact);
    EXPECT_EQ(out.lines, (Lines{"\t\tPoly2\t0(4,1.23457,-7)", "\t\t\t1(4,1.23457,-7) 0mm", "\t\tPoly3\t1(4,2.23457,-7)",
                                "\t\t\t3(4,2.23457,-7) 0mm"}));
    EXPECT_EQ(out.pointYs, (std::vector<std::string>{"1.23456789", "2.234568", "9", "3.234568"}));
}

TEST(SmallEdges, LodsSharingPointsSeeEarlierLifts) {
    std::string sub = subObject(subObjectHeader("1"), verticesBlock({0, 1, 2}),
                                primitivesBlock({trilist("1", {0, 1, 2})}));
    std::string body = shapeBody(pointsBlock({"0 0 0", "0.001 0 0", "3 3 3"}) +
                                 lodControls({lodControl({distanceLevel("100", {sub}), distanceLevel("500", {sub})})}));
    NodePtr root = readShape(body);
    CheckRun check(root, {}, lifting());
    checkLods(check.run, *root);
    EXPECT_EQ(check.report.lines,
              (Lines{"No of LOD's\t2", "LOD Distance\t100", "Sub Objects\t1", "Sub Object 0\t1 polygons",
                     "\t\t0\t1 polygons", "\t\tPoly2\t0(0,0,0)", "\t\t\t1(0.001,0,0) 1mm", "LOD Distance\t500",
                     "Sub Objects\t1", "Sub Object 0\t1 polygons", "\t\t0\t1 polygons"}));
    EXPECT_EQ(pointYs(root), (std::vector<std::string>{"0", "1", "3"}));
}

TEST(SmallEdges, WithoutVerticesNothingIsChecked) {
    std::string sub = subObject(subObjectHeader("1"), "", primitivesBlock({trilist("1", {70, 80, 90})}));
    std::string body = shapeBody(lodControls({lodControl({distanceLevel("100", {sub})})}));
    EXPECT_EQ(shapeError(body), "no error");
}

TEST(SmallEdges, StopsOnIndicesOutsideTheirBlocks) {
    EXPECT_EQ(shapeError(edgeShape(kFar, {0, 1, 2}, {{0, 812, 2}})),
              "vertex index 812 of Poly2 is beyond the 3 vertices of sub-object 0 of LOD 0, in primitive 0");
    EXPECT_EQ(shapeError(edgeShape(kFar, {0, 1, 2}, {{0, 1, 2}, {-1, 1, 2}})),
              "vertex index -1 of Poly3 is not one of the 3 vertices of sub-object 0 of LOD 0, in primitive 0");
    EXPECT_EQ(shapeError(edgeShape(kFar, {0, 9, 2}, {{0, 1, 2}})),
              "point index 9 of vertex 1 of sub-object 0 of LOD 0 is beyond the 3 points of the shape, in "
              "primitive 0");
}

TEST(SmallEdges, StopsOnVerticesWithoutPoints) {
    std::string withTriangle = subObject(subObjectHeader("1"), verticesBlock({0, 1, 2}),
                                         primitivesBlock({trilist("1", {0, 1, 2})}));
    EXPECT_EQ(shapeError(shapeBody(lodControls({lodControl({distanceLevel("100", {withTriangle})})}))),
              "sub-object 0 of LOD 0 has vertices but the shape has no points block, in primitive 0");
    std::string noTriangle = subObject(subObjectHeader("1"), verticesBlock({0, 1, 2}),
                                       primitivesBlock({trilist("1", {})}));
    EXPECT_EQ(shapeError(shapeBody(lodControls({lodControl({distanceLevel("100", {noTriangle})})}))), "no error");
}

TEST(SmallEdges, StopsOnValuesThatAreNotNumbers) {
    EXPECT_EQ(shapeError(edgeShape({"0 0 0", "1 1 1", "2 abc 2"}, {0, 1, 2}, {{0, 1, 2}})),
              "the y coordinate \"abc\" of point 2 (used by vertex 2 of sub-object 0 of LOD 0) is not a number, in "
              "primitive 0");
    EXPECT_EQ(shapeError(edgeShape({"0 0 0", "1 1", "2 2 2"}, {0, 1, 2}, {{0, 1, 2}})),
              "point 1 (used by vertex 1 of sub-object 0 of LOD 0) has no z coordinate, in primitive 0");
    std::string badVertex = "vertices ( 3 vertex ( 0 0 ) vertex ( 0 x1 ) vertex ( 0 2 ) )\n";
    std::string sub = subObject(subObjectHeader("1"), badVertex, primitivesBlock({trilist("1", {0, 1, 2})}));
    EXPECT_EQ(shapeError(shapeBody(pointsBlock(kFar) + lodControls({lodControl({distanceLevel("100", {sub})})}))),
              "the point index \"x1\" (value 2 of vertex) of vertex 1 of sub-object 0 of LOD 0 is not a whole "
              "number within 32 bits, in primitive 0");
}

TEST(SmallEdges, SurveyAgreesWithFreshReadsOnManyLifts) {
    // Points in clusters a millimetre or so apart, triangles drawn at random
    // among them: many short edges, points lifted again and again.
    std::mt19937 random(7);
    std::vector<std::string> points;
    for (int p = 0; p < 24; ++p) {
        int cluster = p % 4;
        points.push_back(std::to_string(cluster) + " " + std::to_string(0.3 + 0.0007 * (random() % 5)) + " " +
                         std::to_string(0.0011 * (random() % 3)));
    }
    std::vector<int> vertices;
    for (int v = 0; v < 40; ++v) vertices.push_back(static_cast<int>(random() % points.size()));
    Triangles triangles;
    for (int t = 0; t < 60; ++t)
        triangles.push_back({static_cast<int>(random() % 40), static_cast<int>(random() % 40),
                             static_cast<int>(random() % 40)});
    Outcome out = bothWays(edgeShape(points, vertices, triangles), triangles, lifting());
    EXPECT_GE(out.lines.size(), 20u);
}

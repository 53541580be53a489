// The geometry survey: its report lines, the oversize marks and lists, and
// the malformed shapes that stop it.

#include <gtest/gtest.h>

#include "document/shape_error.h"
#include "fixes/check_shapes.h"
#include "fixes/survey.h"

using namespace orvane;
using namespace orvane::test;

namespace {

using Lines = std::vector<std::string>;

// Points far apart, so that no edge of the triangles below is short.
const std::string kFarPoints = pointsBlock({"0 0 0", "10 0 0", "0 10 0", "0 0 10"});

std::string oneSubObject(const std::string& polygons, const std::string& primitives,
                         const std::string& label = "0") {
    return subObject(subObjectHeader(polygons, label), verticesBlock({0, 1, 2, 3}), primitives);
}

std::string oneLodShape(const std::vector<std::string>& subObjects, const std::string& distance = "200") {
    return shapeBody(kFarPoints + lodControls({lodControl({distanceLevel(distance, subObjects)})}));
}

Lines survey(const std::string& body, RunLimits limits = {}) {
    NodePtr root = readShape(body);
    CheckRun check(root, limits);
    checkLods(check.run, *root);
    return check.report.lines;
}

}  // namespace

TEST(Survey, ReportsTheFiveLineExample) {
    NodePtr root = readShape(oneLodShape({oneSubObject("44", primitivesBlock({trilist("44", {0, 1, 2})}))}));
    CheckRun check(root);
    checkLods(check.run, *root);
    EXPECT_EQ(check.report.lines,
              (Lines{"No of LOD's\t1", "LOD Distance\t200", "Sub Objects\t1", "Sub Object 0\t44 polygons",
                     "\t\t0\t44 polygons"}));
    EXPECT_EQ(check.report.repaints, 2);  // after the distance and after the primitive
    EXPECT_TRUE(check.run.oversizedPrimitives.empty());
    EXPECT_TRUE(check.run.oversizedSubObjects.empty());
    EXPECT_FALSE(check.run.fixesMade);
}

TEST(Survey, OversizedMeansStrictlyAboveTheLimit) {
    RunLimits limits;
    limits.maxObjectPolys = 50;
    limits.maxPrimFaces = 20;
    NodePtr root = readShape(oneLodShape({
        oneSubObject("50", primitivesBlock({trilist("20", {0, 1, 2}), trilist("21", {0, 1, 2})}), "A"),
        oneSubObject("51", primitivesBlock({trilist("0044", {0, 1, 2})}), "B"),
    }));
    CheckRun check(root, limits);
    checkLods(check.run, *root);
    EXPECT_EQ(check.report.lines,
              (Lines{"No of LOD's\t1", "LOD Distance\t200", "Sub Objects\t2", "Sub Object A\t50 polygons",
                     "\t\t0\t20 polygons", "\t\t1\t21 polygons\t<<<< Oversized primitive",
                     "Sub Object B\t51 polygons\t\t<<<< Oversized sub-object",
                     "\t\t0\t44 polygons\t<<<< Oversized primitive"}));
    const NodeList& subObjects = root->Find("lod_controls")->Nodes()[0]->Find("distance_levels")->Nodes()[0]
                                     ->Find("sub_objects")->Nodes();
    ASSERT_EQ(check.run.oversizedSubObjects.size(), 1u);
    EXPECT_EQ(check.run.oversizedSubObjects[0], subObjects[1]);
    ASSERT_EQ(check.run.oversizedPrimitives.size(), 2u);
    EXPECT_EQ(check.run.oversizedPrimitives[0], subObjects[0]->Find("primitives")->Nodes()[1]);
    EXPECT_EQ(check.run.oversizedPrimitives[1], subObjects[1]->Find("primitives")->Nodes()[0]);
    EXPECT_FALSE(check.run.fixesMade);
}

TEST(Survey, LabelIsTheNinthHeaderValueOnlyWhenThereIsOne) {
    std::string eightValues =
        "sub_object_header ( 00000400 -1 -1 000001d2 000001c4 geometry_info ( 007 ) subobject_shaders ( 1 0 ) "
        "subobject_light_cfgs ( 1 0 ) )\n";
    std::string tenValues =
        "sub_object_header ( 00000400 -1 -1 000001d2 000001c4 geometry_info ( 8 ) subobject_shaders ( 1 0 ) "
        "subobject_light_cfgs ( 1 0 ) 5 6 )\n";
    Lines lines = survey(oneLodShape({subObject(eightValues, "", ""), subObject(tenValues, "", "")}));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[3], "Sub Object \t007 polygons");  // the count as it stands
    EXPECT_EQ(lines[4], "Sub Object 5\t8 polygons");
}

TEST(Survey, NumbersTriangleListsPerSubObject) {
    // prim_state_idx blocks do not count; a list without normal_idxs counts
    // but is not reported.
    std::string noNormals = "indexed_trilist ( vertex_idxs ( 3 0 0 0 ) flags ( 1 0 ) )\n";
    std::string first = primitivesBlock({"prim_state_idx ( 0 )\n", trilist("1", {0, 1, 2}), "prim_state_idx ( 1 )\n",
                                         noNormals, trilist("2", {0, 1, 2})});
    Lines lines = survey(oneLodShape({oneSubObject("3", first), oneSubObject("1", primitivesBlock({trilist("1", {0, 1, 2})}))}));
    EXPECT_EQ(lines, (Lines{"No of LOD's\t1", "LOD Distance\t200", "Sub Objects\t2", "Sub Object 0\t3 polygons",
                            "\t\t0\t1 polygons", "\t\t2\t2 polygons", "Sub Object 0\t1 polygons",
                            "\t\t0\t1 polygons"}));
}

TEST(Survey, WalksOnlyTheFirstLodControlAndItsDistanceLevels) {
    std::string second = lodControl({distanceLevel("999", {})});
    std::string levels = "lod_control ( distance_levels ( 3\n" + distanceLevel("100", {}) +
                         "some_block ( 1 )\n" + distanceLevel("300", {}) + ") )\n";
    Lines lines = survey(shapeBody(kFarPoints + lodControls({levels, second})));
    EXPECT_EQ(lines, (Lines{"No of LOD's\t3", "LOD Distance\t100", "Sub Objects\t0", "LOD Distance\t300",
                            "Sub Objects\t0"}));
}

TEST(Survey, SkipsMissingOptionalBlocksSilently) {
    EXPECT_TRUE(survey(shapeBody(kFarPoints)).empty());
    EXPECT_TRUE(survey(shapeBody(lodControls({}))).empty());
    EXPECT_TRUE(survey(shapeBody("lod_controls ( 1 lod_control ( distance_levels_header ( 0 ) ) )")).empty());

    std::string noHeader = "distance_level ( sub_objects ( 1 " + oneSubObject("1", "") + ") )\n";
    std::string noSelection = "distance_level ( distance_level_header ( hierarchy ( 1 -1 ) ) )\n";
    std::string noSubObjects = "distance_level ( distance_level_header ( dlevel_selection ( 5 ) ) )\n";
    std::string noPrimitives = distanceLevel("6", {subObject(subObjectHeader("2"), verticesBlock({0}), "")});
    std::string noIndices = distanceLevel("7", {oneSubObject("2", primitivesBlock({
        "indexed_trilist ( normal_idxs ( 9 ) )\n"}))});
    Lines lines = survey(shapeBody(lodControls({lodControl({noHeader, noSelection, noSubObjects, noPrimitives, noIndices})})));
    EXPECT_EQ(lines, (Lines{"No of LOD's\t5", "LOD Distance\t5", "LOD Distance\t6", "Sub Objects\t1",
                            "Sub Object 0\t2 polygons", "LOD Distance\t7", "Sub Objects\t1",
                            "Sub Object 0\t2 polygons", "\t\t0\t9 polygons"}));
}

TEST(Survey, StopsOnMalformedStructure) {
    std::string noHeader = "sub_object ( vertices ( 0 ) )\n";
    EXPECT_EQ(shapeError(oneLodShape({oneSubObject("1", ""), noHeader})),
              "sub-object 1 of LOD 0 has no sub_object_header block");
    std::string noInfo = "sub_object ( sub_object_header ( 1 2 3 ) )\n";
    EXPECT_EQ(shapeError(oneLodShape({noInfo})),
              "the sub_object_header of sub-object 0 of LOD 0 has no geometry_info block");
}

TEST(Survey, StopsOnCountsThatAreNotWholeNumbers) {
    EXPECT_EQ(shapeError(oneLodShape({oneSubObject("4x", "")})),
              "the polygon count \"4x\" (value 1 of geometry_info) of sub-object 0 of LOD 0 is not a whole number "
              "within 32 bits");
    EXPECT_EQ(shapeError(oneLodShape({oneSubObject("1", primitivesBlock({trilist("2147483648", {0, 1, 2})}))})),
              "the face count \"2147483648\" (value 1 of normal_idxs) of primitive 0 of sub-object 0 of LOD 0 is "
              "not a whole number within 32 bits");
    std::string badCount = "indexed_trilist ( vertex_idxs ( three 0 1 2 ) normal_idxs ( 1 ) )\n";
    EXPECT_EQ(shapeError(oneLodShape({oneSubObject("1", primitivesBlock({badCount}))})),
              "the index count \"three\" (value 1 of vertex_idxs) of primitive 0 of sub-object 0 of LOD 0 is not "
              "a whole number within 32 bits");
    std::string badIndex = "indexed_trilist ( vertex_idxs ( 3 0 1.5.2 2 ) normal_idxs ( 1 ) )\n";
    EXPECT_EQ(shapeError(oneLodShape({oneSubObject("1", primitivesBlock({trilist("1", {0, 1, 2}), badIndex}))})),
              "the vertex index \"1.5.2\" (value 3 of vertex_idxs) of primitive 1 of sub-object 0 of LOD 0 is not "
              "a whole number within 32 bits");
    EXPECT_EQ(shapeError(shapeBody("lod_controls ( 1 lod_control ( distance_levels ( ) ) )")),
              "the number of LODs (value 1 of distance_levels) is missing");
}

TEST(Survey, StopsWhenTrianglesRunPastTheIndices) {
    // Count 7 reads a third triangle at values 8 to 10.
    std::string shortList = "indexed_trilist ( vertex_idxs ( 7 0 1 2 0 1 2 3 ) normal_idxs ( 1 ) )\n";
    EXPECT_EQ(shapeError(oneLodShape({oneSubObject("1", primitivesBlock({shortList}))})),
              "the vertex_idxs block of primitive 0 of sub-object 0 of LOD 0 holds 7 vertex indices, too few for "
              "the 3 triangles of its count 7");
    // A count that is not a multiple of three is fine while the values are there.
    std::string enough = "indexed_trilist ( vertex_idxs ( 7 0 1 2 0 1 2 3 0 1 ) normal_idxs ( 1 ) )\n";
    EXPECT_EQ(shapeError(oneLodShape({oneSubObject("1", primitivesBlock({enough}))})), "no error");
    std::string huge = "indexed_trilist ( vertex_idxs ( 2147483647 0 1 2 ) normal_idxs ( 1 ) )\n";
    EXPECT_NE(shapeError(oneLodShape({oneSubObject("1", primitivesBlock({huge}))})).find("too few"),
              std::string::npos);
}

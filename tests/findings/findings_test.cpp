// The findings pass on small built shapes: each kind where it is, with its
// place, and nothing on a clean shape.

#include <gtest/gtest.h>
#include <ostream>

#include <string>

#include "findings/find_problems.h"
#include "generator/sample_shapes.h"
#include "generator/shape_generator.h"
#include "support/shape_files.h"

using namespace orvane;
using namespace orvane::findings;
using namespace orvane::test;

namespace {

// The lists the small shape's references point into, one entry each (two
// matrices when asked).
std::string shapeLists(bool twoMatrices = false) {
    return "\tnormals ( 1 vector ( 0 1 0 ) )\r\n\tuv_points ( 1 uv_point ( 0 0 ) )\r\n"
           "\tmatrices ( " + std::string(twoMatrices ? "2 matrix MAIN ( 1 0 0 0 1 0 0 0 1 0 0 0 ) " : "1 ") +
           "matrix MAIN ( 1 0 0 0 1 0 0 0 1 0 0 0 ) )\r\n"
           "\timages ( 1 image ( a.ace ) )\r\n\ttextures ( 1 texture ( 0 0 0 ff000000 ) )\r\n"
           "\tshader_names ( 1 named_shader ( TexDiff ) )\r\n";
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    if (at == std::string::npos) throw std::runtime_error("not in the shape: " + from);
    return text.replace(at, from.size(), to);
}

ShapeFindings findingsOf(const std::string& body) { return findProblems(*readShape(body)); }

std::string kindsOf(const ShapeFindings& found) {
    std::string kinds;
    for (const Finding& f : found.listed) kinds += std::string(kindId(f.kind)) + " at " + placeText(f.place) + "; ";
    return kinds;
}

TEST(Findings, CleanShapesHaveNone) {
    EXPECT_EQ(kindsOf(findingsOf(smallShape(animationBlock(8, 30), shapeLists()))), "");
    ShapeParameters params;
    params.triangles = 3000;
    params.lods = 3;
    params.subObjects = 2;
    params.trianglesPerPrimitive = 700;
    params.animation = GeneratedAnimation::Frames;
    const ShapeFindings found = findingsOf(generateShapeBody(params));
    EXPECT_EQ(kindsOf(found), "");
    EXPECT_EQ(found.total(), 0);
}

struct BadReference {
    const char* from;
    const char* to;
    const char* place;
};

// Names the case by its place in test listings.
void PrintTo(const BadReference& bad, std::ostream* out) { *out << bad.place; }

class ReferenceOutOfRange : public testing::TestWithParam<BadReference> {};

TEST_P(ReferenceOutOfRange, IsFoundWhereItIs) {
    const BadReference& bad = GetParam();
    const ShapeFindings found = findingsOf(replaced(smallShape("", shapeLists()), bad.from, bad.to));
    ASSERT_EQ(found.listed.size(), 1u) << kindsOf(found);
    EXPECT_EQ(found.listed[0].kind, Kind::ReferenceOutOfRange);
    EXPECT_EQ(found.listed[0].severity, Severity::FailsToLoad);
    EXPECT_EQ(placeText(found.listed[0].place), bad.place) << found.listed[0].words;
}

INSTANTIATE_TEST_SUITE_P(
    EveryReference, ReferenceOutOfRange,
    testing::Values(
        BadReference{"vertex ( 00000000 3 0", "vertex ( 00000000 4 0", "LOD 0, sub-object 0, vertex 3 value 2"},
        BadReference{"vertex ( 00000000 2 0", "vertex ( 00000000 2 1", "LOD 0, sub-object 0, vertex 2 value 3"},
        BadReference{"vertex_uvs ( 1 0 )", "vertex_uvs ( 1 5 )", "LOD 0, sub-object 0, vertex_uvs 0 value 2"},
        BadReference{"vertex_idxs ( 6 0 1 2 1 2 3 )", "vertex_idxs ( 6 0 1 2 1 2 4 )",
                     "LOD 0, sub-object 0, primitive 0, triangle 1, vertex_idxs value 7"},
        BadReference{"normal_idxs ( 2 0 3 0 3 )", "normal_idxs ( 2 0 3 1 3 )",
                     "LOD 0, sub-object 0, primitive 0, triangle 1, normal_idxs value 4"},
        BadReference{"prim_state_idx ( 0 )", "prim_state_idx ( 1 )",
                     "LOD 0, sub-object 0, primitive 0, prim_state_idx value 1"},
        BadReference{"tex_idxs ( 1 0 ) 0 0", "tex_idxs ( 1 0 ) 0 1", "prim_state 0 value 5"},
        BadReference{"00000000 0 tex_idxs", "00000000 1 tex_idxs", "prim_state 0 value 2"},
        BadReference{"tex_idxs ( 1 0 )", "tex_idxs ( 1 -1 )", "tex_idxs 0 value 2"},
        BadReference{"texture ( 0 0", "texture ( 1 0", "texture 0 value 1"},
        BadReference{"vtx_state ( 00000000 0 -5", "vtx_state ( 00000000 1 -5", "vtx_state 0 value 2"},
        BadReference{"hierarchy ( 1 -1 )", "hierarchy ( 1 3 )", "LOD 0, hierarchy value 2"},
        BadReference{"vertex_set ( 0 0 4 )", "vertex_set ( 0 1 4 )", "LOD 0, sub-object 0, vertex_set 0 value 2"},
        BadReference{"cullable_prims ( 1 2 6 )", "cullable_prims ( 2 2 6 )",
                     "LOD 0, sub-object 0, cullable_prims 0 value 1"}));

// One finding of `kind` and no other.
void expectOnly(const ShapeFindings& found, Kind kind, const std::string& place) {
    ASSERT_EQ(found.listed.size(), 1u) << kindsOf(found);
    EXPECT_EQ(found.listed[0].kind, kind) << kindsOf(found);
    EXPECT_EQ(found.listed[0].severity, severityOf(kind));
    EXPECT_EQ(placeText(found.listed[0].place), place);
    EXPECT_FALSE(found.listed[0].words.empty());
}

TEST(Findings, HierarchyLoop) {
    const std::string body =
        replaced(smallShape("", shapeLists(true)), "hierarchy ( 1 -1 )", "hierarchy ( 2 1 0 )");
    expectOnly(findingsOf(body), Kind::HierarchyLoop, "LOD 0, hierarchy value 2");
}

TEST(Findings, CountsThatDisagree) {
    expectOnly(findingsOf(replaced(smallShape("", shapeLists()), "points ( 4", "points ( 5")), Kind::CountMismatch,
               "points value 1");
    expectOnly(findingsOf(replaced(smallShape("", shapeLists()), "flags ( 2 ", "flags ( 3 ")), Kind::CountMismatch,
               "LOD 0, sub-object 0, primitive 0, flags value 1");
    // A list that holds what it counts, but not one entry per triangle.
    expectOnly(findingsOf(replaced(smallShape("", shapeLists()), "flags ( 2 00000000 00000000 )", "flags ( 1 00000000 )")),
               Kind::CountMismatch, "LOD 0, sub-object 0, primitive 0, flags value 1");
}

TEST(Findings, DistancesThatDoNotIncrease) {
    ShapeParameters params;
    params.lods = 2;
    const std::string body = replaced(generateShapeBody(params), "dlevel_selection ( 400 )", "dlevel_selection ( 200 )");
    expectOnly(findingsOf(body), Kind::DistancesNotIncreasing, "LOD 1, dlevel_selection value 1");
}

TEST(Findings, Animations) {
    const std::string animated = smallShape(animationBlock(8, 30), shapeLists());
    expectOnly(findingsOf(replaced(animated, "linear_key ( 0 ", "linear_key ( 9 ")), Kind::KeyPastFrameCount,
               "linear_key 0 value 1");
    expectOnly(findingsOf(replaced(animated, "anim_node MAIN", "anim_node WHEEL")), Kind::AnimatedNameWithoutMatrix,
               "anim_node 0");
    expectOnly(findingsOf(smallShape(animationBlock(8, 30), shapeLists(true))), Kind::DuplicateMatrixName,
               "anim_node 0");
}

// Every number out of range lists at most the kind's limit but counts all.
TEST(Findings, ManyOfAKindAreCountedButListedUpToTheLimit) {
    std::string indices = "vertex_idxs ( 3000";
    for (int i = 0; i < 3000; ++i) indices += " 7";
    const std::string body = replaced(replaced(smallShape(), "vertex_idxs ( 6 0 1 2 1 2 3", indices),
                                      "normal_idxs ( 2", "normal_idxs ( 1000");
    const ShapeFindings found = findingsOf(body);
    EXPECT_EQ(found.perKind[static_cast<std::size_t>(Kind::ReferenceOutOfRange)], 3000);
    EXPECT_EQ(found.listed.size(), static_cast<std::size_t>(kMostListedPerKind) + 3);  // and three counts
}

}  // namespace

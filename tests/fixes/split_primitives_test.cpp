#include "fixes/split_primitives.h"

#include <gtest/gtest.h>

#include "document/shape_error.h"
#include "repair_shapes.h"
#include "split_shapes.h"

using namespace orvane;
using namespace orvane::test;

namespace {

// The triangles of a triangle list as texts "v v v | n n | f", after
// checking that each list's count matches them.
std::vector<std::string> trianglesOf(const clsReader& trilist) {
    const clsReader& indices = *childAt(trilist, 1);
    const clsReader& normals = *childAt(trilist, 2);
    const clsReader& flags = *childAt(trilist, 3);
    const std::size_t count = valueCount(flags) - 1;
    EXPECT_EQ(value(indices, 1), std::to_string(3 * count));
    EXPECT_EQ(value(normals, 1), std::to_string(count));
    EXPECT_EQ(value(flags, 1), std::to_string(count));
    EXPECT_EQ(valueCount(indices), 3 * count + 1);
    EXPECT_EQ(valueCount(normals), 2 * count + 1);
    std::vector<std::string> triangles;
    for (std::size_t t = 1; t <= count; ++t)
        triangles.push_back(value(indices, 3 * t - 1) + " " + value(indices, 3 * t) + " " +
                            value(indices, 3 * t + 1) + " | " + value(normals, 2 * t) + " " +
                            value(normals, 2 * t + 1) + " | " + value(flags, t + 1));
    return triangles;
}

class SplitPrimitives : public ::testing::Test {
protected:
    void load(const std::vector<std::string>& primitiveChildren, const std::string& nodeMap = "3 1 0 -1") {
        root = readShape(splitShapeText(primitiveChildren, nodeMap));
        ASSERT_FALSE(root->Nodes().empty()) << "the test shape did not read";
        subObject = subObjectAt(*root, 0);
        primitives = primitivesOf(*subObject);
        geometryInfo = geometryInfoOf(*subObject);
    }
    void split(std::int32_t limit, const std::vector<std::size_t>& oversizedChildren) {
        repair = std::make_unique<RepairRun>(root, limitsWith(limit));
        for (std::size_t i : oversizedChildren) repair->run.oversizedPrimitives.push_back(childAt(*primitives, i));
        splitOversizedPrimitives(repair->run);
    }
    std::string cullableCount(std::size_t node) {
        return value(*childAt(*childAt(*childAt(*geometryInfo, 1), node), 1), 1);
    }
    std::vector<std::string> childNames() {
        std::vector<std::string> names;
        for (const NodePtr& child : primitives->Nodes()) names.push_back(child->Name.str());
        return names;
    }
    std::size_t splitLines() const {
        return static_cast<std::size_t>(
            std::count(repair->report.lines.begin(), repair->report.lines.end(), "Splitting Primitive"));
    }

    NodePtr root, subObject, primitives, geometryInfo;
    std::unique_ptr<RepairRun> repair;
};

struct PieceCase {
    int limit;
    int triangles;
    std::vector<int> pieces;
};

class SplitPieces : public SplitPrimitives, public ::testing::WithParamInterface<PieceCase> {};

TEST_P(SplitPieces, CutsIntoConsecutivePiecesOfAtMostTheLimit) {
    const PieceCase& c = GetParam();
    load({primStateIdx(0), trilistText(0, c.triangles)});
    NodePtr primitive = childAt(*primitives, 2);
    split(c.limit, {2});

    const std::size_t added = c.pieces.size() - 1;
    EXPECT_EQ(splitLines(), added);
    EXPECT_EQ(repair->report.lines.size(), added);
    EXPECT_GE(repair->report.repaints, static_cast<int>(added));
    ASSERT_EQ(primitives->Nodes().size(), 2 + added);
    EXPECT_EQ(childAt(*primitives, 2), primitive);

    int first = 1;
    for (std::size_t p = 0; p < c.pieces.size(); ++p) {
        clsReader& piece = *childAt(*primitives, 2 + p);
        SCOPED_TRACE("piece " + std::to_string(p));
        EXPECT_EQ(piece.Name, "indexed_trilist");
        EXPECT_EQ(piece.Parent(), primitives);
        EXPECT_EQ(piece.SharedStrings(), primitive->SharedStrings()) << "pieces share the placeholder list";
        ASSERT_EQ(piece.Nodes().size(), 3u);
        EXPECT_EQ(childAt(piece, 1)->Name, "vertex_idxs");
        EXPECT_EQ(childAt(piece, 2)->Name, "normal_idxs");
        EXPECT_EQ(childAt(piece, 3)->Name, "flags");
        EXPECT_EQ(trianglesOf(piece), trianglesFrom(0, first, first + c.pieces[p] - 1));
        first += c.pieces[p];
    }
    EXPECT_EQ(first, c.triangles + 1);

    std::vector<std::string> expected{std::to_string(2 + added), "prim_state_idx"};
    expected.insert(expected.end(), c.pieces.size(), "indexed_trilist");
    EXPECT_EQ(valuesOf(*primitives), expected);
    EXPECT_EQ(value(*geometryInfo, 7), std::to_string(30 + added));
    EXPECT_EQ(value(*geometryInfo, 1), "300") << "the polygon total does not change";
    EXPECT_EQ(cullableCount(1), std::to_string(10 + added));
    EXPECT_EQ(cullableCount(2), "20");
    EXPECT_EQ(findMissingPlaceholder(*root), "");
}

INSTANTIATE_TEST_SUITE_P(Counts, SplitPieces,
                         ::testing::Values(PieceCase{5, 10, {5, 5}},           // T = 2L: no empty third piece
                                           PieceCase{5, 6, {5, 1}},            // T = L + 1
                                           PieceCase{7, 26, {7, 7, 7, 5}},     // T = 3L + 5
                                           PieceCase{5, 20, {5, 5, 5, 5}},     // T = 3L + 5 with L = 5
                                           PieceCase{4, 10, {4, 4, 2}},        // the worked example
                                           PieceCase{1, 4, {1, 1, 1, 1}}));    // the smallest limit

TEST_F(SplitPrimitives, NearestPrimStateIdxBeforeGovernsAcrossOtherTriangleLists) {
    load({primStateIdx(0), trilistText(0, 2), primStateIdx(1), trilistText(100, 2), trilistText(200, 12),
          trilistText(300, 1)});
    split(5, {5});
    EXPECT_EQ(childNames(), (std::vector<std::string>{"prim_state_idx", "indexed_trilist", "prim_state_idx",
                                                      "indexed_trilist", "indexed_trilist", "indexed_trilist",
                                                      "indexed_trilist", "indexed_trilist"}));
    EXPECT_EQ(trianglesOf(*childAt(*primitives, 8)), trianglesFrom(300, 1, 1)) << "later children move up";
    EXPECT_EQ(value(*primitives, 1), "8");
    EXPECT_EQ(cullableCount(1), "10");
    EXPECT_EQ(cullableCount(2), "22");
    EXPECT_EQ(value(*geometryInfo, 7), "32");
}

TEST_F(SplitPrimitives, WithoutPrimStateIdxBeforeItNoCullablePrimsChanges) {
    load({trilistText(0, 12), primStateIdx(1), trilistText(100, 1)});
    split(5, {1});
    EXPECT_EQ(value(*primitives, 1), "5");
    EXPECT_EQ(value(*geometryInfo, 7), "32");
    EXPECT_EQ(cullableCount(1), "10");
    EXPECT_EQ(cullableCount(2), "20");
}

TEST_F(SplitPrimitives, TwoOversizedPrimitivesOfOneSubObjectAreSplitInTurn) {
    load({primStateIdx(0), trilistText(0, 12), primStateIdx(1), trilistText(100, 7)});
    split(5, {2, 4});
    EXPECT_EQ(splitLines(), 3u);
    ASSERT_EQ(primitives->Nodes().size(), 7u);
    EXPECT_EQ(trianglesOf(*childAt(*primitives, 3)), trianglesFrom(0, 6, 10));
    EXPECT_EQ(trianglesOf(*childAt(*primitives, 4)), trianglesFrom(0, 11, 12));
    EXPECT_EQ(childAt(*primitives, 5)->Name, "prim_state_idx");
    EXPECT_EQ(trianglesOf(*childAt(*primitives, 6)), trianglesFrom(100, 1, 5));
    EXPECT_EQ(trianglesOf(*childAt(*primitives, 7)), trianglesFrom(100, 6, 7));
    EXPECT_EQ(value(*primitives, 1), "7");
    EXPECT_EQ(value(*geometryInfo, 7), "33");
    EXPECT_EQ(cullableCount(1), "12");
    EXPECT_EQ(cullableCount(2), "21");
}

TEST_F(SplitPrimitives, WrittenShapeReadsBackAsTheSplitTree) {
    load({primStateIdx(0), trilistText(0, 10), primStateIdx(1), trilistText(100, 3)});
    split(4, {2});
    TempDir dir;
    root->SaveFile(dir / "split.s");
    NodePtr reread = clsReader::create();
    reread->ReadFile(dir / "split.s", true);
    ASSERT_FALSE(reread->Nodes().empty());
    EXPECT_EQ(treeText(*reread), treeText(*root));
    const clsReader& rereadPrimitives = *primitivesOf(*subObjectAt(*reread, 0));
    EXPECT_EQ(value(rereadPrimitives, 1), "6");
    EXPECT_EQ(trianglesOf(*childAt(rereadPrimitives, 4)), trianglesFrom(0, 9, 10));
}

TEST_F(SplitPrimitives, LimitBelowOneStopsBeforeAnySplit) {
    for (std::int32_t limit : {0, -3}) {
        load({primStateIdx(0), trilistText(0, 3)});
        const std::string before = treeText(*root);
        try {
            split(limit, {2});
            ADD_FAILURE() << "a limit of " << limit << " was accepted";
        } catch (const ShapeError& e) {
            EXPECT_NE(std::string(e.what()).find("Max Faces/Primitive is " + std::to_string(limit)),
                      std::string::npos)
                << e.what();
        }
        EXPECT_TRUE(repair->report.lines.empty());
        EXPECT_EQ(treeText(*root), before);
    }
}

struct MalformedCase {
    const char* name;
    std::vector<std::string> children;
    std::string nodeMap;
    const char* problem;  // part of the message
};

class SplitMalformed : public SplitPrimitives, public ::testing::WithParamInterface<MalformedCase> {};

TEST_P(SplitMalformed, StopsWithAMessageBeforeAnyEdit) {
    const MalformedCase& c = GetParam();
    load(c.children, c.nodeMap);
    const std::string before = treeText(*root);
    const std::size_t oversized = c.children.size();  // the last child
    try {
        split(5, {oversized});
        ADD_FAILURE() << "no problem found";
    } catch (const ShapeError& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find("of sub-object 0 of LOD 0"), std::string::npos) << message;
        EXPECT_NE(message.find(c.problem), std::string::npos) << message;
    }
    EXPECT_EQ(treeText(*root), before);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, SplitMalformed,
    ::testing::Values(
        MalformedCase{"TwoChildren",
                      {primStateIdx(0),
                       "indexed_trilist ( vertex_idxs ( 3 0 1 2 ) normal_idxs ( 7 0 3 0 3 0 3 0 3 0 3 0 3 0 3 ) )\n"},
                      "3 1 0 -1", "fewer than the three"},
        MalformedCase{"FourthChild",
                      {primStateIdx(0), "indexed_trilist ( vertex_idxs ( 24 0 1 2 0 1 2 0 1 2 0 1 2 0 1 2 0 1 2 0 1 2 0 "
                                        "1 2 ) normal_idxs ( 8 0 3 0 3 0 3 0 3 0 3 0 3 0 3 0 3 ) flags ( 8 0 0 0 0 0 0 0 "
                                        "0 ) extra ( 1 ) )\n"},
                      "3 1 0 -1", "exactly its three lists"},
        MalformedCase{"ValueBesideTheLists",
                      {primStateIdx(0), "indexed_trilist ( vertex_idxs ( 24 0 1 2 0 1 2 0 1 2 0 1 2 0 1 2 0 1 2 0 1 2 0 "
                                        "1 2 ) normal_idxs ( 8 0 3 0 3 0 3 0 3 0 3 0 3 0 3 0 3 ) flags ( 8 0 0 0 0 0 0 0 "
                                        "0 ) 7 )\n"},
                      "3 1 0 -1", "exactly its three lists"},
        MalformedCase{"ShortVertexIdxs", {primStateIdx(0), trilistText(0, 8, 20)}, "3 1 0 -1", "fewer than the 24"},
        MalformedCase{"ShortNormalIdxs", {primStateIdx(0), trilistText(0, 8, -1, 10)}, "3 1 0 -1",
                      "fewer than the 16"},
        MalformedCase{"FlagsWithinTheLimit",
                      {primStateIdx(0), "indexed_trilist ( vertex_idxs ( 9 0 1 2 3 4 5 6 7 8 ) normal_idxs ( 7 0 3 0 "
                                        "3 0 3 0 3 0 3 0 3 0 3 ) flags ( 3 0 0 0 ) )\n"},
                      "3 1 0 -1", "no more than the limit of 5"},
        MalformedCase{"PrimStateMissing", {primStateIdx(7), trilistText(0, 8)}, "3 1 0 -1",
                      "prim_state 7 is beyond"},
        MalformedCase{"VtxStateMissing", {primStateIdx(3), trilistText(0, 8)}, "3 1 0 -1", "vtx_state 9 is beyond"},
        MalformedCase{"MatrixMapsToNoNode", {primStateIdx(2), trilistText(0, 8)}, "3 1 0 -1", "is -1"},
        MalformedCase{"MatrixWithoutMapEntry", {primStateIdx(0), trilistText(0, 8)}, "1 1", "no entry"},
        MalformedCase{"GeometryNodeMissing", {primStateIdx(0), trilistText(0, 8)}, "3 1 5 -1",
                      "geometry node 5 is beyond"},
        MalformedCase{"PrimStateIdxNotANumber", {"prim_state_idx ( x )\n", trilistText(0, 8)}, "3 1 0 -1",
                      "not a whole number"}),
    [](const ::testing::TestParamInfo<MalformedCase>& info) { return std::string(info.param.name); });

}  // namespace

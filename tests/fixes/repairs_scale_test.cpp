// The repairs on a large primitive: splitting works in a loop, not by
// recursion per piece, and in one pass over the triangles.

#include <gtest/gtest.h>

#include "document/numbers.h"
#include "fixes/value_lists.h"
#include "fixes/split_primitives.h"
#include "repair_shapes.h"
#include "split_shapes.h"

using namespace orvane;
using namespace orvane::test;

namespace {

TEST(RepairsAtScale, SplitsTwoHundredThousandTrianglesIntoSingleTrianglePieces) {
    constexpr int kTriangles = 200000;
    NodePtr root = readShape(splitShapeText(
        {primStateIdx(0), "indexed_trilist ( vertex_idxs ( 0 ) normal_idxs ( 0 ) flags ( 0 ) )\n"}));
    ASSERT_FALSE(root->Nodes().empty());
    NodePtr primitives = primitivesOf(*subObjectAt(*root, 0));
    NodePtr primitive = childAt(*primitives, 2);
    clsReader &indices = *childAt(*primitive, 1), &normals = *childAt(*primitive, 2), &flags = *childAt(*primitive, 3);
    for (int t = 0; t < kTriangles; ++t) {
        for (int k = 0; k < 3; ++k) appendValue(indices, wholeText(3 * t + k));
        appendValue(normals, wholeText(t));
        appendValue(normals, "3");
        appendValue(flags, wholeText(t));
    }
    recountValues(indices);
    recountValues(flags);
    replaceValue(normals, 1, wholeText(kTriangles));

    RepairRun repair(root, limitsWith(1));
    repair.run.oversizedPrimitives.push_back(primitive);
    splitOversizedPrimitives(repair.run);

    EXPECT_EQ(repair.report.lines.size(), static_cast<std::size_t>(kTriangles - 1));
    ASSERT_EQ(primitives->Nodes().size(), static_cast<std::size_t>(kTriangles + 1));
    EXPECT_EQ(value(*primitives, 1), wholeText(kTriangles + 1));
    EXPECT_EQ(value(*geometryInfoOf(*subObjectAt(*root, 0)), 7), wholeText(30 + kTriangles - 1));
    for (int t : {0, 1, kTriangles / 2, kTriangles - 1}) {
        const clsReader& piece = *childAt(*primitives, static_cast<std::size_t>(t) + 2);
        EXPECT_EQ(valuesOf(*childAt(piece, 1)),
                  (std::vector<std::string>{"3", wholeText(3 * t), wholeText(3 * t + 1), wholeText(3 * t + 2)}));
        EXPECT_EQ(valuesOf(*childAt(piece, 2)), (std::vector<std::string>{"1", wholeText(t), "3"}));
        EXPECT_EQ(valuesOf(*childAt(piece, 3)), (std::vector<std::string>{"1", wholeText(t)}));
    }
}

}  // namespace

// The division plans first and builds the new sub-object from only what it
// keeps; this test holds it to the literal step-by-step procedure (copy
// everything, then remove one geometry node, one vertex at a time), written
// out here with the plain tree edits, on many generated sub-objects.

#include <gtest/gtest.h>

#include <random>

#include "division_shapes.h"
#include "document/shape_error.h"
#include "document/numbers.h"
#include "fixes/sub_objects.h"
#include "fixes/value_lists.h"
#include "repair_shapes.h"
#include "support/tree_helpers.h"

using namespace orvane;
using namespace orvane::test;

namespace {

// --- division, one geometry node and one vertex at a time -------------------

void literalDivide(RunState& run, const NodePtr& source) {
    NodePtr infoS = geometryInfoOf(*source);
    NodePtr nodesS = infoS->Find("geometry_nodes"), mapS = infoS->Find("geometry_node_map");
    std::vector<std::int32_t> snapshot;
    for (std::int32_t m = 0; m < blocks::wholeValue(*mapS, 1); ++m)
        snapshot.push_back(blocks::wholeValue(*mapS, static_cast<std::size_t>(m) + 2));
    run.report("Creating new sub-object");
    NodePtr copy = duplicateNode(source);
    NodePtr infoD = geometryInfoOf(*copy);
    NodePtr nodesD = infoD->Find("geometry_nodes"), mapD = infoD->Find("geometry_node_map");
    const auto n = static_cast<std::int32_t>(nodesS->Nodes().size());
    std::int64_t polygons = 0, nodes = 0, indices = 0, prims = 0;
    std::int32_t j0 = 0;
    for (std::int32_t j = 1; j <= n; ++j) {
        const clsReader& cullable = *childAt(*childAt(*nodesS, static_cast<std::size_t>(j)), 1);
        const std::int32_t t = blocks::wholeValue(cullable, 2);
        if (polygons + t > run.maxObjectPolys) {
            j0 = j;
            break;
        }
        polygons += t, nodes += 1, indices += blocks::wholeValue(cullable, 3), prims += blocks::wholeValue(cullable, 1);
        removeCountedChild(*nodesD, 1);
        unmapGeometryNode(*mapD, j, j);
    }
    const std::int32_t r = stripNodeRange(run, *copy, 0, j0 - 2, snapshot);
    for (std::int32_t k = 1; k <= r; ++k) removeCountedChild(*copy->Find("vertices"), 1);
    if (r >= 1) recountValues(*copy->Find("vertices"));
    shiftVertexIndices(*copy, r);
    const std::int32_t v = blocks::wholeValue(*source->Find("vertices"), 1);
    deleteVertices(*source, r + 1, v);
    stripNodeRange(run, *source, j0 - 1, n - 1, snapshot);
    for (std::int32_t j = j0; j <= n; ++j) {
        removeCountedChild(*nodesS, static_cast<std::size_t>(j0));
        unmapGeometryNode(*mapS, j, j);
    }
    auto rewrite = [](clsReader& info, std::int64_t a, std::int64_t b, std::int64_t c, std::int64_t d) {
        for (std::size_t x : {7, 4, 2, 1}) removeValue(info, x);
        insertValue(info, 1, wholeText(a));
        insertValue(info, 2, wholeText(b));
        insertValue(info, 4, wholeText(c));
        insertValue(info, 7, wholeText(d));
    };
    rewrite(*infoS, polygons, nodes, indices, prims);
    recountValues(*nodesS);
    polygons = nodes = indices = prims = 0;
    for (const NodePtr& node : nodesD->Nodes()) {
        const clsReader& cullable = *node->Find("cullable_prims");
        polygons += blocks::wholeValue(cullable, 2), nodes += 1;
        indices += blocks::wholeValue(cullable, 3), prims += blocks::wholeValue(cullable, 1);
    }
    rewrite(*infoD, polygons, nodes, indices, prims);
    recountValues(*nodesD);
    renumberNodeMap(*mapD);
}

// A well-formed sub-object over the three vtx_states of division_shapes.h
// (matrices 0, 1 and 3; prim_states 0, 1 and 2 use them in turn): random
// geometry nodes, a random map of the four matrices (repeats and -1
// included), each state's vertex set in node order, and primitives whose
// vertex numbers stay inside their own vertex set.
SubObjectLayout randomSubObject(std::mt19937& random, int& limit) {
    SubObjectLayout layout;
    const int nodeCount = static_cast<int>(random() % 4) + 2;
    layout.polygons.clear();
    for (int j = 0; j < nodeCount; ++j) layout.polygons.push_back(static_cast<int>(random() % 40) + 1);
    limit = static_cast<int>(random() % 80) + 20;
    // Matrices 0, 1 and 3 (the states' own) map to nodes in increasing order;
    // matrix 2 maps anywhere or nowhere.
    std::vector<int> nodeOfState(3);
    for (int s = 0; s < 3; ++s) nodeOfState[s] = static_cast<int>(random() % nodeCount);
    std::sort(nodeOfState.begin(), nodeOfState.end());
    const int stray = static_cast<int>(random() % (nodeCount + 1)) - 1;
    layout.nodeMap = "4 " + std::to_string(nodeOfState[0]) + " " + std::to_string(nodeOfState[1]) + " " +
                   std::to_string(stray) + " " + std::to_string(nodeOfState[2]);
    std::vector<int> start(4, 0);
    layout.vertexSets = "3";
    for (int s = 0; s < 3; ++s) {
        const int count = static_cast<int>(random() % 6) + 1;
        start[s + 1] = start[s] + count;
        layout.vertexSets += " vertex_set ( " + std::to_string(s) + " " + std::to_string(start[s]) + " " +
                           std::to_string(count) + " )";
    }
    layout.vertices = start[3];
    layout.primitives.clear();
    if (random() % 3 == 0)  // kept by both halves
        layout.primitives.push_back("indexed_trilist ( vertex_idxs ( 0 ) normal_idxs ( 0 ) flags ( 0 ) )");
    for (int group = 0; group < 5; ++group) {
        const int s = static_cast<int>(random() % 3);
        layout.primitives.push_back("prim_state_idx ( " + std::to_string(s) + " )");
        for (int list = static_cast<int>(random() % 3); list > 0; --list) {
            std::string indices;
            for (int x = 0; x < 3; ++x)
                indices += " " + std::to_string(start[s] + static_cast<int>(random() % (start[s + 1] - start[s])));
            layout.primitives.push_back("indexed_trilist ( vertex_idxs ( 3" + indices +
                                      " ) normal_idxs ( 1 0 3 ) flags ( 1 0 ) )");
        }
    }
    return layout;
}

TEST(RepairsMatchTheStepByStepProcedure, Division) {
    std::mt19937 random(5);
    int divided = 0, refused = 0;
    for (int round = 0; round < 300; ++round) {
        int limit = 0;
        const SubObjectLayout layout = randomSubObject(random, limit);
        const std::string text = divisionShapeText({subObjectText(SubObjectLayout{}), subObjectText(layout)});
        NodePtr fast = readShape(text), literal = readShape(text);
        RepairRun fastRun(fast, limitsWith(2800, limit)), literalRun(literal, limitsWith(2800, limit));
        createSubObjects(fastRun.run);  // nothing flagged: nothing happens
        fastRun.run.oversizedSubObjects.push_back(subObjectAt(*fast, 1));
        try {
            createSubObjects(fastRun.run);
        } catch (const ShapeError&) {
            // A half that keeps no vertex set: the procedure cannot go on
            // either, and the refusal comes before any edit.
            ++refused;
            EXPECT_THROW(literalDivide(literalRun.run, subObjectAt(*literal, 1)), ShapeError) << text;
            ASSERT_EQ(treeText(*fast), treeText(*readShape(text)));
            continue;
        }
        if (fastRun.report.lines != std::vector<std::string>{"Creating new sub-object"}) continue;
        ++divided;
        literalDivide(literalRun.run, subObjectAt(*literal, 1));
        ASSERT_EQ(treeText(*fast), treeText(*literal)) << "round " << round << "\n" << text;
    }
    EXPECT_GT(divided, 100);
    EXPECT_GT(refused, 10);
}

}  // namespace

#include "fixes/division_plan.h"

#include <algorithm>
#include <limits>
#include <string>

#include "document/block_layout.h"
#include "document/shape_error.h"
#include "document/tree_edit.h"
#include "fixes/division_parts.h"
#include "fixes/error_place.h"

namespace orvane {

namespace {

void require32(std::int64_t value, const std::string& what) {
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        throw ShapeError(what + " (" + std::to_string(value) + ") goes beyond 32 bits");
}

const clsReader& cullablePrimsOf(const clsReader& geometryNode) {
    return *blocks::requireChild(geometryNode, blocks::cullable_prims);
}

// Entry m is the geometry node number of matrix m (value m + 2), -1 for none.
std::vector<std::int32_t> nodeMapSnapshot(const clsReader& map) {
    const std::int32_t length = blocks::wholeValue(map, 1);
    if (length < 0) throw ShapeError("the geometry_node_map states " + std::to_string(length) + " entries");
    std::vector<std::int32_t> snapshot;
    snapshot.reserve(std::min<std::size_t>(static_cast<std::size_t>(length), valueCount(map)));
    for (std::int32_t m = 0; m < length; ++m)
        snapshot.push_back(blocks::wholeValue(map, static_cast<std::size_t>(m) + 2));
    return snapshot;
}

// The blocks and values the division needs besides the geometry nodes.
void requireDivisible(const RunState& run, const clsReader& source, const clsReader& geometryInfo) {
    if (!run.shapeVtxStates) throw ShapeError("the shape has no vtx_states block");
    if (!run.shapePrimStates) throw ShapeError("the shape has no prim_states block");
    if (valueCount(geometryInfo) < 7)
        throw ShapeError("its geometry_info has " + std::to_string(valueCount(geometryInfo)) +
                         " values, fewer than the 7 a division rewrites");
    NodePtr list = source.Parent();
    if (!list || source.ParentIndex() < 1) throw ShapeError("the sub-object stands in no sub_objects block");
    blocks::wholeValue(*list, 1);
    // The copy is built from the source's placeholders; a child without one could not be copied.
    const std::string missing = findMissingPlaceholder(source);
    if (!missing.empty()) throw ShapeError(missing);
    requireCountedList(*blocks::requireChild(source, blocks::vertices));
    requireCountedList(*blocks::requireChild(source, blocks::primitives));
    blocks::requireChild(source, blocks::vertex_sets);
}

// The copy keeps geometry nodes j0..n: it drops the vertex sets and
// primitives of nodes 0..j0-2 and the vertices before its first vertex set.
void planCopy(const RunState& run, const clsReader& source, DivisionPlan& plan) {
    const clsReader& vertexSets = *source.Find(blocks::vertex_sets);
    const clsReader& primitives = *source.Find(blocks::primitives);
    const std::size_t vertexCount = source.Find(blocks::vertices)->Nodes().size();
    const auto states = statesOfNodeRange(*run.shapeVtxStates, 0, plan.splitPosition - 2, plan.snapshot);
    plan.copyDropsSet = vertexSetsOfStates(vertexSets, states);
    const std::int32_t r = firstKeptStart(vertexSets, plan.copyDropsSet);
    requireStartsFrom(vertexSets, plan.copyDropsSet, r);
    plan.copyDropsPrimitive = primitivesOfStates(primitives, *run.shapePrimStates, states);
    if (r < 0 || static_cast<std::size_t>(r) > vertexCount)
        throw ShapeError("its first vertex set starts at vertex " + std::to_string(r) + ", but there are " +
                         std::to_string(vertexCount) + " vertices");
    plan.splitVertices = r;
    requireVertexNumbers(primitives, plan.copyDropsPrimitive, r, vertexCount - static_cast<std::size_t>(r));
}

// The source keeps geometry nodes 1..j0-1: it drops the vertex sets and
// primitives of the others and its vertices r + 1 to its vertex count.
void planSource(const RunState& run, const clsReader& source, DivisionPlan& plan) {
    const clsReader& vertices = *source.Find(blocks::vertices);
    const clsReader& vertexSets = *source.Find(blocks::vertex_sets);
    const clsReader& primitives = *source.Find(blocks::primitives);
    const auto states =
        statesOfNodeRange(*run.shapeVtxStates, plan.splitPosition - 1, plan.nodeCount - 1, plan.snapshot);
    const auto dropsSet = vertexSetsOfStates(vertexSets, states);
    requireStartsFrom(vertexSets, dropsSet, firstKeptStart(vertexSets, dropsSet));
    plan.sourceDropsPrimitive = primitivesOfStates(primitives, *run.shapePrimStates, states);

    const std::int32_t r = plan.splitVertices;
    const std::size_t vertexCount = vertices.Nodes().size();
    plan.sourceVertexEnd = blocks::wholeValue(vertices, 1);
    std::size_t kept = vertexCount;
    if (plan.sourceVertexEnd > r) {
        if (static_cast<std::size_t>(plan.sourceVertexEnd) > vertexCount)
            throw ShapeError("vertices " + std::to_string(r) + " to " + std::to_string(plan.sourceVertexEnd - 1) +
                             " are to be removed, but the vertices block holds " + std::to_string(vertexCount));
        kept -= static_cast<std::size_t>(plan.sourceVertexEnd - r);
    }
    requireVertexNumbers(primitives, plan.sourceDropsPrimitive, 0, kept);
}

}  // namespace

void NodeTotals::add(const clsReader& cullablePrims) {
    polygons += blocks::wholeValue(cullablePrims, 2);
    nodes += 1;
    indices += blocks::wholeValue(cullablePrims, 3);
    primitives += blocks::wholeValue(cullablePrims, 1);
}

SplitPoint findSplitPoint(const clsReader& geometryNodes, std::int32_t limit) {
    SplitPoint split;
    const std::size_t count = geometryNodes.Nodes().size();
    for (std::size_t j = 1; j <= count; ++j) {
        const clsReader& cullable = cullablePrimsOf(*childAt(geometryNodes, j));
        if (split.kept.polygons + blocks::wholeValue(cullable, 2) > limit) {
            split.position = j;
            break;
        }
        split.kept.add(cullable);
    }
    return split;
}

DivisionPlan planDivision(const RunState& run, const clsReader& source, const SplitPoint& split) {
    const NodePtr geometryInfo =
        blocks::requireChild(*blocks::requireChild(source, blocks::sub_object_header), blocks::geometry_info);
    const NodePtr geometryNodes = blocks::requireChild(*geometryInfo, blocks::geometry_nodes);
    DivisionPlan plan;
    plan.splitPosition = static_cast<std::int32_t>(split.position);
    plan.nodeCount = static_cast<std::int32_t>(geometryNodes->Nodes().size());
    plan.sourceTotals = split.kept;
    for (std::size_t j = split.position; j <= geometryNodes->Nodes().size(); ++j)
        plan.copyTotals.add(cullablePrimsOf(*childAt(*geometryNodes, j)));
    for (const NodeTotals* totals : {&plan.sourceTotals, &plan.copyTotals}) {
        require32(totals->polygons, "the polygon total");
        require32(totals->indices, "the vertex index total");
        require32(totals->primitives, "the triangle list total");
    }
    requireDivisible(run, source, *geometryInfo);
    plan.snapshot = nodeMapSnapshot(*blocks::requireChild(*geometryInfo, blocks::geometry_node_map));
    atPlace([] { return std::string("in the new sub-object made from it"); }, [&] { planCopy(run, source, plan); });
    planSource(run, source, plan);
    return plan;
}

}  // namespace orvane

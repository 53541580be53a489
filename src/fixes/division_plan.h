#pragma once
// What the division of one sub-object will do, worked out from the untouched
// source: where it is split, the totals of both halves, and which vertex
// sets, primitives and vertices each half keeps. Working it out checks the
// sub-object too, so that a malformed one stops the run before any edit.

#include <cstdint>
#include <vector>

#include "fixes/run_state.h"

namespace orvane {

// Totals of a run of geometry nodes, summed from their cullable_prims.
struct NodeTotals {
    std::int64_t polygons = 0;    // value 2
    std::int64_t nodes = 0;
    std::int64_t indices = 0;     // value 3
    std::int64_t primitives = 0;  // value 1

    void add(const clsReader& cullablePrims);
};

// The first geometry node (1-based) whose polygons no longer fit within the
// limit after the nodes before it, 0 when all fit; and the totals of the
// nodes before it.
struct SplitPoint {
    std::size_t position = 0;
    NodeTotals kept;
};

SplitPoint findSplitPoint(const clsReader& geometryNodes, std::int32_t limit);

struct DivisionPlan {
    std::int32_t splitPosition = 0;  // j0: the first geometry node that moves to the copy
    std::int32_t nodeCount = 0;      // n
    NodeTotals sourceTotals, copyTotals;
    std::vector<std::int32_t> snapshot;    // geometry node number of each matrix
    std::vector<bool> copyDropsSet;        // the vertex sets of the source's geometry nodes
    std::vector<bool> copyDropsPrimitive;  // children of primitives, likewise
    std::vector<bool> sourceDropsPrimitive;
    std::int32_t splitVertices = 0;    // r: vertices that stay in the source
    std::int32_t sourceVertexEnd = 0;  // the source drops vertices r + 1 to this one (value 1 of its vertices)
};

// Plans the division of source at split (position 2 or later).
DivisionPlan planDivision(const RunState& run, const clsReader& source, const SplitPoint& split);

}  // namespace orvane

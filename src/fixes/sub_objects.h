#pragma once
// Sub-object creation: divides every oversized sub-object in two. The source
// keeps the longest leading run of geometry nodes within maxObjectPolys; a
// copy inserted directly after it keeps the rest, and each half keeps only
// its own vertices, vertex sets and primitives.

#include <cstdint>
#include <vector>

#include "fixes/run_state.h"

namespace orvane {

// Returns whether it changed the tree: whether any sub-object was divided
// (one whose geometry nodes allow no split is reported and left as it is).
bool createSubObjects(RunState& run);
bool divideSubObject(RunState& run, const NodePtr& source);

// Deep copy of node inserted directly after it in its parent, whose value 1
// grows by one. Returns the copy.
NodePtr duplicateNode(const NodePtr& node);
// Copies Name, Text, values and children of source, all the way down, into
// the empty target (the copied children get their Parent set).
void copyNode(const clsReader& source, clsReader& target);

// For every j from firstJ to lastJ, in one pass: the first map value (from
// value 2 on) that is exactly the decimal text of j - 1 becomes "-1", so
// geometry node j (1-based) is drawn by no matrix. One node: firstJ = lastJ.
void unmapGeometryNode(clsReader& map, std::int32_t firstJ, std::int32_t lastJ);
// Map values that are not "-1" become 0, 1, 2, ... in map order.
void renumberNodeMap(clsReader& map);

// Removes vertices first..last (1-based child positions) of the sub-object's
// vertices block and recounts it; nothing when last < first.
void deleteVertices(clsReader& subObject, std::int32_t first, std::int32_t last);
// Every vertex number of every indexed_trilist of the sub-object goes down
// by offset; a number that would then name no vertex throws ShapeError.
void shiftVertexIndices(clsReader& subObject, std::int32_t offset);
// Removes the vertex sets and primitives of geometry node numbers first to
// last (0-based, inclusive) through the matrices of nodeMap, and moves the
// remaining vertex sets down so that the first starts at 0. Returns that
// first remaining set's former start.
std::int32_t stripNodeRange(const RunState& run, clsReader& subObject, std::int32_t first, std::int32_t last,
                            const std::vector<std::int32_t>& nodeMap);

}  // namespace orvane

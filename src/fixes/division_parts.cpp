#include "fixes/division_parts.h"

#include <algorithm>
#include <string>

#include "document/block_layout.h"
#include "document/shape_error.h"
#include "document/tree_edit.h"

namespace orvane {

StateMarks statesOfNodeRange(const clsReader& vtxStates, std::int32_t first, std::int32_t last,
                             const std::vector<std::int32_t>& nodeMap) {
    const std::int32_t stateCount = blocks::wholeValue(vtxStates, 1);
    if (stateCount < 0) throw ShapeError("vtx_states states " + std::to_string(stateCount) + " entries");
    StateMarks states;
    states.count = static_cast<std::size_t>(stateCount);
    states.marked.assign(std::min(states.count, vtxStates.Nodes().size()), false);
    // The matrices of the range; each vtx_state is then looked at once.
    std::vector<bool> matrices(nodeMap.size(), false);
    bool anyMatrix = false;
    for (std::size_t m = 0; m < nodeMap.size(); ++m)
        if (nodeMap[m] >= first && nodeMap[m] <= last) matrices[m] = anyMatrix = true;
    if (!anyMatrix) return states;
    std::size_t k = 0;
    for (const NodePtr& state : vtxStates.Nodes()) {
        const std::int32_t matrix = blocks::wholeValue(*state, 2);
        if (matrix >= 0 && static_cast<std::size_t>(matrix) < matrices.size() &&
            matrices[static_cast<std::size_t>(matrix)]) {
            if (k >= states.count)
                throw ShapeError("vtx_states holds more entries than the " + std::to_string(stateCount) +
                                 " it states");
            states.marked[k] = true;
        }
        ++k;
    }
    return states;
}

std::vector<bool> vertexSetsOfStates(const clsReader& vertexSets, const StateMarks& states) {
    const NodeList& sets = vertexSets.Nodes();
    std::vector<bool> marked(sets.size(), false);
    for (std::size_t i = 0; i < sets.size(); ++i)
        marked[i] = states.isMarked(blocks::wholeValue(*sets[i], 1), [i] { return "vertex set " + std::to_string(i); });
    return marked;
}

std::vector<bool> primitivesOfStates(const clsReader& primitives, const clsReader& primStates,
                                     const StateMarks& states) {
    const NodeList& children = primitives.Nodes();
    std::vector<bool> marked(children.size(), false);
    bool governed = false;
    for (std::size_t i = 0; i < children.size(); ++i) {
        if (children[i]->Name == blocks::prim_state_idx) {
            const std::int32_t primState = blocks::wholeValue(*children[i], 1);
            const clsReader& state = *blocks::numbered(primStates, primState, "prim_state");
            governed = states.isMarked(blocks::wholeValue(state, 5),
                                       [primState] { return "prim_state " + std::to_string(primState); });
        }
        marked[i] = governed;
    }
    return marked;
}

std::int32_t firstKeptStart(const clsReader& vertexSets, const std::vector<bool>& removed) {
    const NodeList& sets = vertexSets.Nodes();
    for (std::size_t i = 0; i < sets.size(); ++i)
        if (!removed[i]) return blocks::wholeValue(*sets[i], 2);
    throw ShapeError("no vertex set is left to the sub-object");
}

void requireStartsFrom(const clsReader& vertexSets, const std::vector<bool>& removed, std::int32_t base) {
    const NodeList& sets = vertexSets.Nodes();
    for (std::size_t i = 0; i < sets.size(); ++i) {
        if (removed[i]) continue;
        const std::int32_t start = blocks::wholeValue(*sets[i], 2);
        if (start < base)
            throw ShapeError("vertex set " + std::to_string(i) + " starts at vertex " + std::to_string(start) +
                             ", before the first one left (at " + std::to_string(base) + ")");
    }
}

void requireCountedList(const clsReader& block) {
    const NodeList& children = block.Nodes();
    const StringList& values = block.Strings();
    bool counted = values.size() == children.size() + 1;
    for (std::size_t i = 0; counted && i < children.size(); ++i) counted = values[i + 1] == children[i]->Name;
    if (!counted)
        throw ShapeError("the " + block.Name.str() +
                         " block does not hold its count followed by one placeholder per child block");
}

void requireVertexNumbers(const clsReader& primitives, const std::vector<bool>& dropped, std::int64_t first,
                          std::size_t count) {
    const NodeList& children = primitives.Nodes();
    std::size_t primitiveNumber = 0;
    for (std::size_t i = 0; i < children.size(); ++i) {
        if (children[i]->Name != blocks::indexed_trilist) continue;
        if (!dropped[i]) {
            const clsReader& indices = *childAt(*children[i], 1);
            const std::size_t values = valueCount(indices);
            for (std::size_t v = 2; v <= values; ++v) {
                const std::int64_t number = blocks::wholeValue(indices, v);
                if (number < first || number - first >= static_cast<std::int64_t>(count))
                    throwVertexOutside(number, primitiveNumber, first, count);
            }
        }
        ++primitiveNumber;
    }
}

void throwVertexOutside(std::int64_t number, std::size_t primitiveNumber, std::int64_t first, std::size_t count) {
    const std::string kept = count == 0 ? "it keeps no vertices"
                                        : "it keeps vertices " + std::to_string(first) + " to " +
                                              std::to_string(first + static_cast<std::int64_t>(count) - 1);
    throw ShapeError("vertex index " + std::to_string(number) + " of primitive " + std::to_string(primitiveNumber) +
                     " names a vertex it no longer has (" + kept + ")");
}

}  // namespace orvane

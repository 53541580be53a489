#include "fixes/sub_objects.h"

#include <string>
#include <utility>

#include "document/block_layout.h"
#include "document/numbers.h"
#include "document/shape_error.h"
#include "document/tree_edit.h"
#include "fixes/division_parts.h"
#include "fixes/division_plan.h"
#include "fixes/error_place.h"
#include "fixes/repair_trace.h"
#include "fixes/shape_places.h"
#include "fixes/value_lists.h"

namespace orvane {

namespace {

constexpr const char* kCreatingLine = "Creating new sub-object";
constexpr const char* kFirstNodeTooBig = "its first geometry node alone exceeds the limit";
constexpr const char* kNoSplitPosition = "no split position within the limit";

void reportLine(RunState& run, const std::string& line) {
    run.report(line);
    run.repaintReport();
}

// "Sub-object left undivided (LOD 2000, sub-object 3, 14220 polygons): why",
// naming the LOD by its distance and the sub-object by the number the
// survey's "Sub Object" line shows (its position when it has none), with
// the polygon count as its geometry_info states it.
std::string undividedLine(const clsReader& subObject, const clsReader& geometryInfo, const char* why) {
    std::string place;
    const NodePtr subObjects = subObject.Parent();
    const NodePtr level = subObjects ? subObjects->Parent() : nullptr;
    const NodePtr levelHeader = level ? level->Find(blocks::distance_level_header) : nullptr;
    const NodePtr selection = levelHeader ? levelHeader->Find(blocks::dlevel_selection) : nullptr;
    if (selection && !selection->Strings().empty()) place = "LOD " + selection->Strings()[0].str() + ", ";
    const NodePtr header = subObject.Find(blocks::sub_object_header);
    const std::string_view label = header && header->Strings().size() >= 9 ? header->Strings()[8].view() : "";
    if (!label.empty()) {
        place += "sub-object " + std::string(label);
    } else {
        std::string position = subObjectPlace(subObject);
        place += position.substr(0, position.find(" of "));
    }
    if (!geometryInfo.Strings().empty()) place += ", " + geometryInfo.Strings()[0].str() + " polygons";
    return "Sub-object left undivided (" + place + "): " + why;
}

// Triangles of the sub-object's triangle lists, the measure of its division's work.
std::uint64_t trianglesOfSubObject(const clsReader& subObject) {
    const NodePtr primitives = subObject.Find(blocks::primitives);
    std::uint64_t triangles = 0;
    if (primitives)
        for (const NodePtr& child : primitives->Nodes())
            if (child->Name == blocks::indexed_trilist) triangles += trilistTriangles(*child);
    return triangles;
}

// Values 1, 2, 4 and 7 of geometry_info: polygons, geometry nodes, vertex
// indices and triangle lists (all checked to fit 32 bits by the plan).
void writeTotals(clsReader& geometryInfo, const NodeTotals& totals) {
    replaceValue(geometryInfo, 1, wholeText(totals.polygons));
    replaceValue(geometryInfo, 2, wholeText(totals.nodes));
    replaceValue(geometryInfo, 4, wholeText(totals.indices));
    replaceValue(geometryInfo, 7, wholeText(totals.primitives));
}

NodePtr deepCopy(const clsReader& node) {
    NodePtr copy = clsReader::create();
    copyNode(node, *copy);
    return copy;
}

// A child the copy keeps: the source's own node when the source is about to
// drop it (it simply changes hands), else a deep copy.
NodePtr takeOrCopy(const NodePtr& child, bool sourceDropsIt) { return sourceDropsIt ? child : deepCopy(*child); }

// The copy's vertices block as the division leaves it: vertices r + 1 on.
NodePtr keptVertices(const clsReader& vertices, const DivisionPlan& plan) {
    NodePtr kept = clsReader::create(vertices.Name);
    kept->SetText(vertices.Text());
    const NodeList& children = vertices.Nodes();
    const auto r = static_cast<std::size_t>(plan.splitVertices);
    reserveAppends(*kept, children.size() > r ? children.size() - r : 0, 1);
    appendValue(*kept, valueAt(vertices, 1));
    const std::size_t sourceEnd = plan.sourceVertexEnd > 0 ? static_cast<std::size_t>(plan.sourceVertexEnd) : 0;
    for (std::size_t k = r + 1; k <= children.size(); ++k)
        appendChild(*kept, takeOrCopy(children[k - 1], k <= sourceEnd));
    if (r > 0) recountValues(*kept);  // removing no vertices leaves the count as it was
    return kept;
}

// The copy's primitives block as the division leaves it. A trace, when
// given, learns the deep copies of the pieces it knows.
NodePtr keptPrimitives(const clsReader& primitives, const DivisionPlan& plan, RepairTrace* trace) {
    NodePtr kept = clsReader::create(primitives.Name);
    kept->SetText(primitives.Text());
    appendValue(*kept, valueAt(primitives, 1));
    const NodeList& children = primitives.Nodes();
    for (std::size_t i = 0; i < children.size(); ++i) {
        if (plan.copyDropsPrimitive[i]) continue;
        NodePtr child = takeOrCopy(children[i], plan.sourceDropsPrimitive[i]);
        if (trace && child != children[i]) trace->recordCopy(*children[i], child);
        appendChild(*kept, std::move(child));
    }
    recountValues(*kept);
    return kept;
}

// The new sub-object: a copy of the source whose vertices and primitives are
// already only those it keeps. The result is that of copying everything and
// removing them afterwards, without copying the half that would go at once.
NodePtr copyForDivision(const clsReader& source, const DivisionPlan& plan, RepairTrace* trace) {
    const NodePtr vertices = source.Find(blocks::vertices);
    const NodePtr primitives = source.Find(blocks::primitives);
    NodePtr copy = clsReader::create(source.Name);
    copy->SetText(source.Text());
    for (PlaceholderWalk walk(source); walk.next();) {
        const NodePtr* child = walk.child();
        if (!child)
            appendValue(*copy, walk.value());
        else if (*child == vertices)
            appendChild(*copy, keptVertices(**child, plan));
        else if (*child == primitives)
            appendChild(*copy, keptPrimitives(**child, plan, trace));
        else
            appendChild(*copy, deepCopy(**child));
    }
    return copy;
}

// Places copy directly after node in node's parent, whose value 1 grows by one.
void insertAfter(const clsReader& node, NodePtr copy) {
    NodePtr parent = node.Parent();
    const std::int32_t i = node.ParentIndex();
    if (!parent || i < 1)
        throw ShapeError("block \"" + node.Name.str() + "\" to be copied stands in no parent block");
    const auto position = static_cast<std::size_t>(i);
    // The placeholder goes in after value i; all placeholders of the parent
    // name the same kind of block, so they still pair with the children.
    insertChild(*parent, position + 1, std::move(copy), position + 1);
    addToValue(*parent, 1, 1);
}

// Every vertex set start goes down by base (when base is above 0).
void moveSetsDown(clsReader& vertexSets, std::int32_t base) {
    if (base <= 0) return;
    for (const NodePtr& set : vertexSets.Nodes())
        replaceValue(*set, 2, wholeText(std::int64_t{blocks::wholeValue(*set, 2)} - base));
}

// Returns whether the sub-object was divided.
bool divide(RunState& run, const NodePtr& source) {
    clsReader& sourceNode = *source;
    NodePtr infoS = blocks::requireChild(*blocks::requireChild(sourceNode, blocks::sub_object_header),
                                         blocks::geometry_info);
    NodePtr nodesS = blocks::requireChild(*infoS, blocks::geometry_nodes);
    NodePtr mapS = blocks::requireChild(*infoS, blocks::geometry_node_map);

    // The split position is found before anything is reported or copied.
    const SplitPoint split = findSplitPoint(*nodesS, run.maxObjectPolys);
    if (split.position == 0 || split.position == 1) {
        reportLine(run, undividedLine(sourceNode, *infoS, split.position == 0 ? kNoSplitPosition : kFirstNodeTooBig));
        return false;
    }
    const DivisionPlan plan = planDivision(run, sourceNode, split);
    const std::int32_t j0 = plan.splitPosition, n = plan.nodeCount, r = plan.splitVertices;

    reportLine(run, kCreatingLine);
    NodePtr copy = copyForDivision(sourceNode, plan, run.trace);
    insertAfter(sourceNode, copy);
    if (run.trace) run.trace->recordSubObject(copy);

    // The copy keeps geometry nodes j0..n and their vertex sets, moved down by
    // r like its vertex numbers; its vertices and primitives are already its own.
    NodePtr infoD = blocks::requireChild(*blocks::requireChild(*copy, blocks::sub_object_header),
                                         blocks::geometry_info);
    NodePtr nodesD = blocks::requireChild(*infoD, blocks::geometry_nodes);
    NodePtr mapD = blocks::requireChild(*infoD, blocks::geometry_node_map);
    removeCountedChildRange(*nodesD, 1, static_cast<std::size_t>(j0 - 1));
    unmapGeometryNode(*mapD, 1, j0 - 1);
    NodePtr setsD = blocks::requireChild(*copy, blocks::vertex_sets);
    removeCountedChildren(*setsD, plan.copyDropsSet);
    recountValues(*setsD);
    moveSetsDown(*setsD, r);
    shiftVertexIndices(*copy, r);

    // The source keeps geometry nodes 1..j0-1 and its first r vertices.
    deleteVertices(sourceNode, r + 1, plan.sourceVertexEnd);
    stripNodeRange(run, sourceNode, j0 - 1, n - 1, plan.snapshot);
    removeCountedChildRange(*nodesS, static_cast<std::size_t>(j0), static_cast<std::size_t>(n));
    unmapGeometryNode(*mapS, j0, n);

    writeTotals(*infoS, plan.sourceTotals);
    recountValues(*nodesS);
    writeTotals(*infoD, plan.copyTotals);
    recountValues(*nodesD);
    renumberNodeMap(*mapD);
    return true;
}

}  // namespace

bool createSubObjects(RunState& run) {
    bool divided = false;
    // The list is neither added to nor shortened: new sub-objects are never divided.
    for (std::size_t i = 0; i < run.oversizedSubObjects.size(); ++i) {
        NodePtr source = run.oversizedSubObjects[i];
        const std::uint64_t triangles = trianglesOfSubObject(*source);
        divided = divideSubObject(run, source) || divided;
        run.progress.advance(triangles);
    }
    return divided;
}

bool divideSubObject(RunState& run, const NodePtr& source) {
    bool divided = false;
    atPlace([&] { return subObjectPlace(*source); }, [&] { divided = divide(run, source); });
    return divided;
}

NodePtr duplicateNode(const NodePtr& node) {
    NodePtr copy = deepCopy(*node);
    insertAfter(*node, copy);
    return copy;
}

void copyNode(const clsReader& source, clsReader& target) {
    // An explicit work list instead of recursion: trees built by code need
    // not respect the reader's nesting limit.
    std::vector<std::pair<const clsReader*, clsReader*>> pending{{&source, &target}};
    while (!pending.empty()) {
        auto [from, to] = pending.back();
        pending.pop_back();
        to->Name = from->Name;
        to->SetText(from->Text());
        const std::size_t children = from->Nodes().size(), items = from->Strings().size();
        reserveAppends(*to, children, items > children ? items - children : 0);
        // Values in order; a placeholder brings its child along, so the copy
        // pairs children and placeholders exactly as the original does.
        PlaceholderWalk walk(*from);
        while (walk.next()) {
            if (const NodePtr* child = walk.child()) {
                NodePtr copy = clsReader::create((*child)->Name);
                appendChild(*to, copy);
                pending.emplace_back(child->get(), copy.get());
            } else {
                appendValue(*to, walk.value());
            }
        }
        if (!walk.allPlaced()) {
            const clsReader& unplaced = *from->Nodes()[walk.placed()];
            throw ShapeError("child " + std::to_string(walk.placed() + 1) + " (\"" + unplaced.Name.str() +
                             "\") of block \"" + from->Name.str() + "\" has no placeholder and cannot be copied");
        }
    }
}

void unmapGeometryNode(clsReader& map, std::int32_t firstJ, std::int32_t lastJ) {
    if (lastJ < firstJ) return;
    // Unmapping one node never makes a value match another ("-1" is no
    // node's number), so each node's first match in the original map is the
    // value that unmapping the nodes one by one would replace.
    const std::int64_t low = std::int64_t{firstJ} - 1;
    const std::int64_t high = std::int64_t{lastJ} - 1;
    std::vector<bool> done(static_cast<std::size_t>(high - low + 1), false);
    const std::size_t count = valueCount(map);
    for (std::size_t v = 2; v <= count; ++v) {
        const std::string_view text = valueAt(map, v);
        const auto number = toWholeNumber(text);
        if (!number || *number < low || *number > high || wholeText(*number) != text) continue;
        const auto slot = static_cast<std::size_t>(*number - low);
        if (done[slot]) continue;
        done[slot] = true;
        replaceValue(map, v, "-1");
    }
}

void renumberNodeMap(clsReader& map) {
    std::int64_t next = 0;
    const std::size_t count = valueCount(map);
    for (std::size_t v = 2; v <= count; ++v)
        if (valueAt(map, v) != "-1") replaceValue(map, v, wholeText(next++));
}

void deleteVertices(clsReader& subObject, std::int32_t first, std::int32_t last) {
    NodePtr vertices = blocks::requireChild(subObject, blocks::vertices);
    if (last < first) return;
    const std::size_t held = vertices->Nodes().size();
    if (first < 1 || static_cast<std::size_t>(last) > held)
        throw ShapeError("vertices " + std::to_string(first - 1) + " to " + std::to_string(last - 1) +
                         " are to be removed, but the vertices block holds " + std::to_string(held));
    removeCountedChildRange(*vertices, static_cast<std::size_t>(first), static_cast<std::size_t>(last));
    recountValues(*vertices);
}

void shiftVertexIndices(clsReader& subObject, std::int32_t offset) {
    const std::size_t vertexCount = blocks::requireChild(subObject, blocks::vertices)->Nodes().size();
    NodePtr primitives = blocks::requireChild(subObject, blocks::primitives);
    std::size_t primitiveNumber = 0;
    for (const NodePtr& child : primitives->Nodes()) {
        if (child->Name != blocks::indexed_trilist) continue;
        clsReader& indices = *childAt(*child, 1);
        const std::size_t count = valueCount(indices);
        for (std::size_t v = 2; v <= count; ++v) {
            const std::int32_t number = blocks::wholeValue(indices, v);
            const std::int64_t shifted = std::int64_t{number} - offset;
            if (shifted < 0 || static_cast<std::uint64_t>(shifted) >= vertexCount)
                throwVertexOutside(number, primitiveNumber, offset, vertexCount);
            replaceValue(indices, v, wholeText(shifted));
        }
        ++primitiveNumber;
    }
}

std::int32_t stripNodeRange(const RunState& run, clsReader& subObject, std::int32_t first, std::int32_t last,
                            const std::vector<std::int32_t>& nodeMap) {
    if (!run.shapeVtxStates) throw ShapeError("the shape has no vtx_states block");
    if (!run.shapePrimStates) throw ShapeError("the shape has no prim_states block");
    const StateMarks states = statesOfNodeRange(*run.shapeVtxStates, first, last, nodeMap);

    // The vertex sets of the range go; the rest move down to start at 0.
    NodePtr vertexSets = blocks::requireChild(subObject, blocks::vertex_sets);
    removeCountedChildren(*vertexSets, vertexSetsOfStates(*vertexSets, states));
    recountValues(*vertexSets);
    const std::vector<bool> noneRemoved(vertexSets->Nodes().size(), false);
    const std::int32_t base = firstKeptStart(*vertexSets, noneRemoved);
    requireStartsFrom(*vertexSets, noneRemoved, base);
    moveSetsDown(*vertexSets, base);

    // Primitives under a prim_state_idx of the range go, with it.
    NodePtr primitives = blocks::requireChild(subObject, blocks::primitives);
    removeCountedChildren(*primitives, primitivesOfStates(*primitives, *run.shapePrimStates, states));
    recountValues(*primitives);
    return base;
}

}  // namespace orvane

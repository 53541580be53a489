#include "fixes/split_primitives.h"

#include <algorithm>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "document/block_layout.h"
#include "document/numbers.h"
#include "document/shape_error.h"
#include "document/tree_edit.h"
#include "document/value_errors.h"
#include "fixes/error_place.h"
#include "fixes/shape_places.h"
#include "fixes/value_lists.h"

namespace orvane {

namespace {

constexpr const char* kSplittingLine = "Splitting Primitive";

// The survey's numbers of all the given triangle lists, taken before any of
// them is split (pieces would shift the count), one pass per primitives block.
std::unordered_map<const clsReader*, std::int32_t> primitiveNumbersOf(const std::vector<NodePtr>& primitives) {
    std::unordered_map<const clsReader*, std::int32_t> numbers;
    std::unordered_set<const clsReader*> blocksSeen;
    for (const NodePtr& primitive : primitives) {
        NodePtr block = primitive->Parent();
        if (!block || !blocksSeen.insert(block.get()).second) continue;
        std::int32_t number = 0;
        for (const NodePtr& child : block->Nodes())
            if (child->Name == blocks::indexed_trilist) numbers[child.get()] = number++;
    }
    return numbers;
}

// A limit below 1 would pass every triangle on to the next piece forever.
void requireSplittableLimit(std::int32_t limit) {
    if (limit < 1)
        throw ShapeError("Max Faces/Primitive is " + wholeText(limit) +
                         ": a primitive cannot be split into pieces of fewer than 1 triangle; set the limit to 1 or "
                         "more");
}

std::size_t valuesAfterCount(const clsReader& list) {
    const std::size_t values = valueCount(list);
    return values == 0 ? 0 : values - 1;
}

// The three lists of a triangle list, by position, and its triangle count:
// the values of the per-triangle list after its count.
struct TriangleLists {
    clsReader& indices;      // vertex_idxs: count, then 3 vertex numbers per triangle
    clsReader& normals;      // normal_idxs: count, then 2 values per triangle
    clsReader& perTriangle;  // count, then 1 value per triangle
    std::size_t triangles;
};

void requireValuesFor(const clsReader& list, std::size_t perTriangle, std::size_t triangles) {
    const std::size_t held = valuesAfterCount(list);
    if (held < perTriangle * triangles)
        throw ShapeError(quoted(list.Name.view()) + " holds " + std::to_string(held) +
                         " values after its count, fewer than the " + std::to_string(perTriangle * triangles) + " of its " + std::to_string(triangles) +
                         " triangles");
}

TriangleLists triangleListsOf(const clsReader& primitive, std::size_t limit) {
    const std::size_t children = primitive.Nodes().size();
    if (children < 3)
        throw ShapeError("the triangle list has " + std::to_string(children) +
                         " child blocks, fewer than the three it needs (vertex indices, normal indices, "
                         "per-triangle list)");
    // The pieces share the primitive's own items, so those must be exactly the
    // placeholders of its three lists: anything more would reappear in every
    // piece as a stray value or a placeholder without its block.
    const StringList& items = primitive.Strings();
    bool onlyThreeLists = children == 3 && items.size() == 3;
    for (std::size_t i = 0; onlyThreeLists && i < 3; ++i) onlyThreeLists = items[i] == primitive.Nodes()[i]->Name;
    if (!onlyThreeLists)
        throw ShapeError("the triangle list holds " + std::to_string(children) + " child blocks and " +
                         std::to_string(items.size()) +
                         " items; only a list made of exactly its three lists (vertex indices, normal indices, "
                         "per-triangle list) can be split");
    TriangleLists lists{*childAt(primitive, 1), *childAt(primitive, 2), *childAt(primitive, 3), 0};
    if (valueCount(lists.perTriangle) == 0)
        throw ShapeError("its per-triangle list " + quoted(lists.perTriangle.Name.view()) + " has no count");
    lists.triangles = valuesAfterCount(lists.perTriangle);
    if (lists.triangles <= limit) {
        const std::string stated = valueCount(lists.normals) > 0 ? std::string(valueAt(lists.normals, 1)) : "none";
        throw ShapeError("its per-triangle list " + quoted(lists.perTriangle.Name.view()) + " holds " +
                         std::to_string(lists.triangles) + " triangles, no more than the limit of " +
                         std::to_string(limit) + ", although " + quoted(lists.normals.Name.view()) + " states " +
                         stated);
    }
    requireValuesFor(lists.indices, 3, lists.triangles);
    requireValuesFor(lists.normals, 2, lists.triangles);
    return lists;
}

// The pieces go in after the primitive by re-appending the children behind
// it, which relies on the block holding exactly its count and one
// placeholder per child from the primitive on.
void requireCountedFrom(const clsReader& primitives, std::size_t k) {
    const std::size_t children = primitives.Nodes().size();
    bool counted = valueCount(primitives) == children + 1;
    for (std::size_t i = k; counted && i <= children; ++i)
        counted = valueAt(primitives, i + 1) == childAt(primitives, i)->Name.view();
    if (!counted)
        throw ShapeError("the primitives block does not hold its count followed by one placeholder per child block");
}

// Value 1 of a normal_idxs list becomes half the values after it (two per
// triangle); an odd number rounds half to even like every whole number.
void recountHalved(clsReader& list) {
    const std::size_t values = valuesAfterCount(list);
    std::size_t half = values / 2;
    if (values % 2 == 1 && half % 2 == 1) ++half;
    if (valueCount(list) == 0)
        appendValue(list, wholeText(static_cast<std::int64_t>(half)));
    else
        replaceValue(list, 1, wholeText(static_cast<std::int64_t>(half)));
}

// A new list named like `from`, holding the count "0" and the values of
// triangles first..last of `from` (perTriangle values each, after its
// count). The new node's value list is built at its final size in one go.
NodePtr copyTriangles(const clsReader& from, std::size_t perTriangle, std::size_t first, std::size_t last) {
    const StringList& values = from.Strings();
    // Triangle t occupies values perTriangle*(t-1)+2 ... perTriangle*t+1 (1-based).
    const auto begin = values.begin() + static_cast<std::ptrdiff_t>(perTriangle * (first - 1) + 1);
    const auto end = values.begin() + static_cast<std::ptrdiff_t>(perTriangle * last + 1);
    auto list = std::make_shared<StringList>();
    list->reserve(static_cast<std::size_t>(end - begin) + 1);
    list->emplace_back("0");
    list->insert(list->end(), begin, end);
    NodePtr copy = clsReader::create(from.Name);
    copy->SetStrings(std::move(list));
    return copy;
}

// One new piece: triangles first..last of the primitive, named like it, with
// three new lists named like its own. Its value list is the primitive's own
// list object, shared, which holds the placeholders of the three lists; so
// the lists join the piece's children without placeholders of their own.
NodePtr makePiece(clsReader& primitive, const TriangleLists& lists, std::size_t first, std::size_t last) {
    NodePtr piece = clsReader::create(primitive.Name);
    piece->SetText(primitive.Text());
    auto children = std::make_shared<NodeList>();
    children->reserve(3);
    children->push_back(copyTriangles(lists.indices, 3, first, last));
    children->push_back(copyTriangles(lists.normals, 2, first, last));
    children->push_back(copyTriangles(lists.perTriangle, 1, first, last));
    recountValues(*(*children)[0]);
    recountHalved(*(*children)[1]);
    recountValues(*(*children)[2]);
    for (const NodePtr& child : *children) child->SetParent(piece);
    piece->SetNodes(std::move(children));
    piece->SetStrings(primitive.SharedStrings());
    return piece;
}

// Keeps values 1..keep and those after tailEnd: drops keep+1..tailEnd in one
// pass (values after tailEnd are ones the triangles do not account for).
void dropValueRange(clsReader& list, std::size_t keep, std::size_t tailEnd) {
    std::vector<ShapeText> after;
    const StringList& values = list.Strings();
    for (std::size_t v = tailEnd; v < values.size(); ++v) after.push_back(values[v]);
    truncateValues(list, keep);
    for (ShapeText& value : after) appendValue(list, std::move(value));
}

// Inserts the pieces, in order, directly after child k: the children behind
// k are taken off and put back after the pieces, so the edit stays linear.
void insertPiecesAfter(clsReader& primitives, std::size_t k, std::vector<NodePtr>& pieces) {
    const NodeList& children = primitives.Nodes();
    std::vector<NodePtr> behind(children.begin() + static_cast<std::ptrdiff_t>(k), children.end());
    removeCountedChildRange(primitives, k + 1, children.size());
    for (NodePtr& piece : pieces) appendChild(primitives, std::move(piece));
    for (NodePtr& child : behind) appendChild(primitives, std::move(child));
}

// The split of one primitive into all its pieces at once: the same pieces,
// counts and report lines as splitting off one piece at a time and cutting
// the new piece again, in one pass over the triangles.
void splitIntoPieces(RunState& run, clsReader& primitive) {
    const auto limit = static_cast<std::size_t>(run.maxPrimFaces);
    const std::string line = kSplittingLine;
    run.report(line);
    run.repaintReport();

    // Everything the split needs is looked up and checked before any edit.
    NodePtr primitives = primitive.Parent();
    if (!primitives) throw ShapeError("the triangle list stands in no primitives block");
    NodePtr subObject = primitives->Parent();
    if (!subObject) throw ShapeError("the primitives block stands in no sub-object");
    clsReader& geometryInfo = *childAt(*childAt(*subObject, 1), 1);
    const std::int32_t position = primitive.ParentIndex();
    if (position < 1) throw ShapeError("the triangle list is no longer among the children of its primitives block");
    const auto k = static_cast<std::size_t>(position);
    const TriangleLists lists = triangleListsOf(primitive, limit);
    requireCountedFrom(*primitives, k);
    blocks::wholeValue(*primitives, 1);
    blocks::wholeValue(geometryInfo, 7);
    NodePtr cullable = governingCullablePrims(run, geometryInfo, *primitives, k);
    if (cullable) blocks::wholeValue(*cullable, 1);

    // Piece j holds triangles j*L+1 .. min((j+1)*L, T); the primitive keeps 1..L.
    const std::size_t triangles = lists.triangles;
    std::vector<NodePtr> pieces;
    pieces.reserve((triangles - 1) / limit);
    for (std::size_t first = limit + 1; first <= triangles; first += limit) {
        if (!pieces.empty()) {
            run.report(line);
            run.repaintReport();
        }
        pieces.push_back(makePiece(primitive, lists, first, std::min(first + limit - 1, triangles)));
    }

    truncateValues(lists.perTriangle, limit + 1);
    dropValueRange(lists.normals, 2 * limit + 1, 2 * triangles + 1);
    dropValueRange(lists.indices, 3 * limit + 1, 3 * triangles + 1);
    recountValues(lists.indices);
    recountHalved(lists.normals);
    recountValues(lists.perTriangle);

    const auto added = static_cast<std::int32_t>(pieces.size());
    if (run.trace) {
        std::vector<NodePtr> parts;
        parts.reserve(pieces.size() + 1);
        parts.emplace_back(&primitive);
        parts.insert(parts.end(), pieces.begin(), pieces.end());
        run.trace->recordSplit(parts);
    }
    insertPiecesAfter(*primitives, k, pieces);
    addToValue(*primitives, 1, added);
    registerNewPrimitive(run, geometryInfo, *primitives, k, added);
}

}  // namespace

bool splitOversizedPrimitives(RunState& run) {
    if (run.oversizedPrimitives.empty()) return false;
    requireSplittableLimit(run.maxPrimFaces);
    const auto numbers = primitiveNumbersOf(run.oversizedPrimitives);
    // Pieces are not added to the list: each primitive is split into all its pieces at once.
    for (std::size_t i = 0; i < run.oversizedPrimitives.size(); ++i) {
        NodePtr primitive = run.oversizedPrimitives[i];
        const auto number = numbers.find(primitive.get());
        const std::uint64_t triangles = trilistTriangles(*primitive);
        splitPrimitive(run, primitive, number == numbers.end() ? 0 : number->second);
        run.progress.advance(triangles);
    }
    return true;
}

void splitPrimitive(RunState& run, const NodePtr& primitive, std::int32_t primitiveNumber) {
    atPlace([&] { return primitivePlace(*primitive, primitiveNumber); }, [&] { splitIntoPieces(run, *primitive); });
}

void registerNewPrimitive(RunState& run, clsReader& geometryInfo, const clsReader& primitives, std::size_t k,
                          std::int32_t pieces) {
    addToValue(geometryInfo, 7, pieces);
    NodePtr cullable = governingCullablePrims(run, geometryInfo, primitives, k);
    if (cullable) addToValue(*cullable, 1, pieces);
}

NodePtr governingCullablePrims(const RunState& run, const clsReader& geometryInfo, const clsReader& primitives,
                               std::size_t k) {
    const clsReader& geometryNodes = *childAt(geometryInfo, 1);
    const clsReader& nodeMap = *childAt(geometryInfo, 2);
    NodePtr stateIndex;
    for (std::size_t i = k; i-- > 1 && !stateIndex;)
        if (childAt(primitives, i)->Name == blocks::prim_state_idx) stateIndex = childAt(primitives, i);
    if (!stateIndex) return nullptr;

    if (!run.r) throw ShapeError("there is no shape root to look up prim_states in");
    const std::int32_t s = blocks::wholeValue(*stateIndex, 1);
    NodePtr primStates = blocks::requireChild(*run.r, blocks::prim_states);
    const std::int32_t v = blocks::wholeValue(*blocks::numbered(*primStates, s, "prim_state"), 5);
    NodePtr vtxStates = blocks::requireChild(*run.r, blocks::vtx_states);
    const std::int32_t m = blocks::wholeValue(*blocks::numbered(*vtxStates, v, "vtx_state"), 2);
    const std::size_t entries = valuesAfterCount(nodeMap);
    if (m < 0 || static_cast<std::size_t>(m) >= entries)
        throw ShapeError("vtx_state " + std::to_string(v) + " uses matrix " + std::to_string(m) +
                         ", which has no entry in the geometry_node_map (it holds " + std::to_string(entries) +
                         ")");
    const std::int32_t g = blocks::wholeValue(nodeMap, static_cast<std::size_t>(m) + 2);
    if (g == -1)
        throw ShapeError("the geometry_node_map entry of matrix " + std::to_string(m) + " (used by prim_state " +
                         std::to_string(s) + ") is -1: no geometry node draws with it");
    return childAt(*blocks::numbered(geometryNodes, g, "geometry node"), 1);
}

}  // namespace orvane

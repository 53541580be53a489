#include "fixes/survey.h"

#include <algorithm>
#include <string>

#include "document/block_layout.h"
#include "document/numbers.h"
#include "document/shape_error.h"
#include "fixes/shape_places.h"
#include "fixes/small_edges.h"

namespace orvane {

namespace {

std::string noPlace() { return {}; }

// Throws when the vertex_idxs block holds fewer values than the triangles
// its count announces read: the last triangle reads values up to 3k + 1.
void requireTriangleValues(const clsReader& indices, std::int64_t triangles, const clsReader& trilist,
                           std::int32_t primitiveNumber) {
    const std::int64_t needed = 3 * triangles + 1;
    const auto held = static_cast<std::int64_t>(indices.Strings().size());
    if (held >= needed) return;
    throw ShapeError("the vertex_idxs block of " + primitivePlace(trilist, primitiveNumber) + " holds " +
                     std::to_string(held - 1) + " vertex indices, too few for the " + std::to_string(triangles) +
                     " triangles of its count " + std::string(indices.Strings()[0].view()));
}

std::int32_t vertexIndexAt(const StringList& values, std::size_t n, const clsReader& indices, const clsReader& trilist,
                           std::int32_t primitiveNumber) {
    if (auto index = toWholeNumber(values[n - 1].view())) return *index;
    return blocks::wholeValue(indices, n, "the vertex index",
                              [&] { return primitivePlace(trilist, primitiveNumber); });
}

}  // namespace

void checkLods(RunState& run, clsReader& root) {
    NodePtr lodControls = root.Find(blocks::lod_controls);
    if (!lodControls) return;
    NodePtr lodControl = lodControls->Find(blocks::lod_control);
    if (!lodControl) return;
    NodePtr levels = lodControl->Find(blocks::distance_levels);
    if (!levels) return;
    run.report("No of LOD's\t" +
               std::string(blocks::textValue(*levels, 1, "the number of LODs", noPlace)));
    // One reader for the whole walk: most vertices and points are corners of
    // several triangles.
    CornerReader corners;
    for (const NodePtr& child : levels->Nodes())
        if (child->Name == blocks::distance_level) checkDistanceLevel(run, corners, *child);
}

void checkDistanceLevel(RunState& run, CornerReader& corners, clsReader& level) {
    NodePtr header = level.Find(blocks::distance_level_header);
    if (!header) return;
    auto where = [&] { return lodPlace(level); };
    ++run.figures.lods;
    if (NodePtr selection = header->Find(blocks::dlevel_selection)) {
        run.report("LOD Distance\t" + std::string(blocks::textValue(*selection, 1, "the LOD distance", where)));
        run.repaintReport();
    }
    NodePtr subObjects = level.Find(blocks::sub_objects);
    if (!subObjects) return;
    run.report("Sub Objects\t" + std::string(blocks::textValue(*subObjects, 1, "the number of sub-objects", where)));
    for (const NodePtr& child : subObjects->Nodes())
        if (child->Name == blocks::sub_object) checkSubObject(run, corners, child);
}

void checkSubObject(RunState& run, CornerReader& corners, const NodePtr& subObject) {
    auto where = [&] { return subObjectPlace(*subObject); };
    NodePtr header = subObject->Find(blocks::sub_object_header);
    if (!header) throw ShapeError(where() + " has no sub_object_header block");
    // The label is value 9 of the header only when it has that many values.
    std::string_view label = header->Strings().size() >= 9 ? header->Strings()[8].view() : std::string_view();
    NodePtr info = header->Find(blocks::geometry_info);
    if (!info) throw ShapeError("the sub_object_header of " + where() + " has no geometry_info block");
    std::string_view count = blocks::textValue(*info, 1, "the polygon count", where);

    std::string line = "Sub Object " + std::string(label) + "\t" + std::string(count) + " polygons";
    const std::int32_t polygons = blocks::wholeValue(*info, 1, "the polygon count", where);
    if (polygons > run.maxObjectPolys) {
        run.oversizedSubObjects.push_back(subObject);
        line += "\t\t<<<< Oversized sub-object";
        ++run.figures.oversizeSubObjects;
    }
    run.report(line);
    ++run.figures.subObjects;
    run.figures.largestSubObjectPolygons = std::max<std::int64_t>(run.figures.largestSubObjectPolygons, polygons);

    const NodePtr subObjectVertices = subObject->Find(blocks::vertices);
    if (subObjectVertices)
        run.figures.maxSubObjectVertices = std::max(run.figures.maxSubObjectVertices,
                                                    static_cast<std::int64_t>(subObjectVertices->Nodes().size()));
    NodePtr primitives = subObject->Find(blocks::primitives);
    if (!primitives) return;
    std::int32_t primitiveNumber = 0;
    for (const NodePtr& child : primitives->Nodes()) {
        if (child->Name != blocks::indexed_trilist) continue;
        checkPrimitive(run, corners, child, primitiveNumber, subObjectVertices.get());
        ++primitiveNumber;
    }
}

void checkPrimitive(RunState& run, CornerReader& corners, const NodePtr& trilist, std::int32_t primitiveNumber,
                    const clsReader* subObjectVertices) {
    NodePtr normals = trilist->Find(blocks::normal_idxs);
    if (!normals) return;
    auto where = [&] { return primitivePlace(*trilist, primitiveNumber); };
    const std::int32_t faces = blocks::wholeValue(*normals, 1, "the face count", where);
    std::string line = "\t\t" + wholeText(primitiveNumber) + "\t" + wholeText(faces) + " polygons";
    if (faces > run.maxPrimFaces) {
        line += "\t<<<< Oversized primitive";
        run.report(line);
        run.oversizedPrimitives.push_back(trilist);
        ++run.figures.oversizePrimitives;
    } else {
        run.report(line);
    }
    ++run.figures.primitives;
    run.figures.triangles += faces;
    run.figures.largestPrimitiveFaces = std::max<std::int64_t>(run.figures.largestPrimitiveFaces, faces);
    run.repaintReport();

    NodePtr indices = trilist->Find(blocks::vertex_idxs);
    if (!indices) return;
    // Triangles start at values 2, 5, 8, ... up to the count + 1.
    const std::int64_t bound = static_cast<std::int64_t>(blocks::wholeValue(*indices, 1, "the index count", where)) + 1;
    const std::int64_t triangles = bound < 2 ? 0 : (bound - 2) / 3 + 1;
    requireTriangleValues(*indices, triangles, *trilist, primitiveNumber);
    const StringList& values = indices->Strings();
    for (std::int64_t p = 2; p <= bound; p += 3) {
        const auto n = static_cast<std::size_t>(p);
        const std::int32_t ia = vertexIndexAt(values, n, *indices, *trilist, primitiveNumber);
        const std::int32_t ib = vertexIndexAt(values, n + 1, *indices, *trilist, primitiveNumber);
        const std::int32_t ic = vertexIndexAt(values, n + 2, *indices, *trilist, primitiveNumber);
        const auto polyNumber = static_cast<std::int32_t>((p + 4) / 3);
        try {
            checkPolyEdges(run, corners, subObjectVertices, ia, ib, ic, polyNumber);
        } catch (const ShapeError& e) {
            throw ShapeError(std::string(e.what()) + ", in primitive " + wholeText(primitiveNumber));
        }
        run.progress.advance(1);
    }
}

}  // namespace orvane

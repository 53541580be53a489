// References between blocks: every number that names a block of a list
// (a point, a vertex, a prim_state...) must name one that is there, and a
// distance level's hierarchy must lead every matrix up to a root. Also the
// distance levels' selection distances, met on the same walk.

#include <optional>
#include <vector>

#include "findings/collector.h"

namespace orvane::findings {

namespace {

// The size of a list block of the shape (its child blocks), or none when
// the shape has no such block: references into it are then not checked.
std::optional<std::int64_t> listSize(const clsReader& root, std::string_view name) {
    const clsReader* list = childNamed(root, name);
    if (!list) return std::nullopt;
    return static_cast<std::int64_t>(list->Nodes().size());
}

struct ShapeLists {
    std::optional<std::int64_t> points, normals, uvPoints, matrices, images, textures, shaders, vtxStates, primStates;
};

class ReferenceWalk {
public:
    ReferenceWalk(const clsReader& root, Collector& found) : root_(root), found_(found) {
        lists_.points = listSize(root, "points");
        lists_.normals = listSize(root, "normals");
        lists_.uvPoints = listSize(root, "uv_points");
        lists_.matrices = listSize(root, "matrices");
        lists_.images = listSize(root, "images");
        lists_.textures = listSize(root, "textures");
        lists_.shaders = listSize(root, "shader_names");
        lists_.vtxStates = listSize(root, "vtx_states");
        lists_.primStates = listSize(root, "prim_states");
    }

    void run() {
        shapeLists();
        const clsReader* lodControls = childNamed(root_, "lod_controls");
        if (!lodControls) return;
        for (const NodePtr& control : lodControls->Nodes()) {
            if (control->Name.view() != "lod_control") continue;
            const clsReader* levels = childNamed(*control, "distance_levels");
            if (!levels) continue;
            std::int64_t lod = 0;
            std::optional<float> lastDistance;
            for (const NodePtr& level : levels->Nodes()) {
                if (level->Name.view() != "distance_level") continue;
                distanceLevel(*level, lod, lastDistance);
                ++lod;
            }
        }
    }

private:
    // Checks value n of block against a list of `size` (none: not checked);
    // -1 is allowed where `noneAllowed`. The place is `base` with the index
    // and triangle given, made only for a finding.
    void reference(const clsReader& block, std::size_t n, const std::optional<std::int64_t>& size,
                   std::string_view what, const Place& base, std::optional<std::int64_t> index = {},
                   std::optional<std::int64_t> triangle = {}, bool noneAllowed = false) {
        if (!size) return;
        const ShapeText* text = valueAt(block, n);
        if (!text) return;  // a missing value is the counts' or the survey's concern
        const std::optional<std::int64_t> number = wholeValue(text->view());
        if (number && *number >= 0 && *number < *size) return;
        if (number && noneAllowed && *number == -1) return;
        Place place = base;
        if (index) place.index = index;
        if (triangle) place.triangle = triangle;
        place.block = block.Name.str();
        place.value = static_cast<std::int64_t>(n);
        found_.add(Kind::ReferenceOutOfRange, place, [&] {
            if (!number) return std::string(what) + " number " + quotedText(text->view()) + " is not a number";
            return std::string(what) + " " + std::to_string(*number) + " is not there: there are " +
                   std::to_string(*size);
        });
    }

    // The references of the shape's own lists.
    void shapeLists() {
        if (const clsReader* textures = childNamed(root_, "textures")) {
            std::int64_t i = 0;
            for (const NodePtr& texture : textures->Nodes()) {
                if (texture->Name.view() == "texture")
                    reference(*texture, 1, lists_.images, "image", blockPlace({}, i));
                ++i;
            }
        }
        if (const clsReader* states = childNamed(root_, "vtx_states")) {
            std::int64_t i = 0;
            for (const NodePtr& state : states->Nodes()) {
                if (state->Name.view() == "vtx_state") reference(*state, 2, lists_.matrices, "matrix", blockPlace({}, i));
                ++i;
            }
        }
        if (const clsReader* states = childNamed(root_, "prim_states")) {
            std::int64_t i = 0;
            for (const NodePtr& state : states->Nodes()) {
                if (state->Name.view() == "prim_state") {
                    reference(*state, 2, lists_.shaders, "shader", blockPlace({}, i));
                    reference(*state, 5, lists_.vtxStates, "vtx_state", blockPlace({}, i));
                    if (const clsReader* texIdxs = childNamed(*state, "tex_idxs"))
                        for (std::size_t n = 2; n <= texIdxs->Strings().size(); ++n)
                            reference(*texIdxs, n, lists_.textures, "texture", blockPlace({}, i));
                }
                ++i;
            }
        }
    }

    void distanceLevel(const clsReader& level, std::int64_t lod, std::optional<float>& lastDistance) {
        if (const clsReader* header = childNamed(level, "distance_level_header")) {
            if (const clsReader* selection = childNamed(*header, "dlevel_selection"))
                if (const ShapeText* text = valueAt(*selection, 1))
                    if (const std::optional<float> distance = toSingle(text->view())) {
                        if (lastDistance && !(*distance > *lastDistance))
                            found_.add(Kind::DistancesNotIncreasing,
                                       lodPlace(lod, "dlevel_selection", 1), [&] {
                                           return "the selection distance " + text->str() +
                                                  " is not beyond the LOD before it (" + formatSingle(*lastDistance) +
                                                  ")";
                                       });
                        lastDistance = *distance;
                    }
            if (const clsReader* hierarchy = childNamed(*header, "hierarchy")) hierarchyLinks(*hierarchy, lod);
        }
        const clsReader* subObjects = childNamed(level, "sub_objects");
        if (!subObjects) return;
        std::int64_t number = 0;
        for (const NodePtr& subObject : subObjects->Nodes()) {
            if (subObject->Name.view() != "sub_object") continue;
            Place place = lodPlace(lod);
            place.subObject = number;
            this->subObject(*subObject, place);
            ++number;
        }
    }

    // Each matrix's parent is -1 or a matrix, and following the parents
    // from any matrix ends at a root. Each entry is followed once: those on
    // the path being followed are marked, those settled are known good or
    // already reported.
    void hierarchyLinks(const clsReader& hierarchy, std::int64_t lod) {
        const StringList& values = hierarchy.Strings();
        if (values.size() < 2) return;
        const std::size_t entries = values.size() - 1;
        std::vector<std::int64_t> parent(entries, -1);
        for (std::size_t i = 0; i < entries; ++i) {
            reference(hierarchy, i + 2, lists_.matrices.value_or(static_cast<std::int64_t>(entries)), "parent matrix",
                      lodPlace(lod), {}, {}, true);
            const std::optional<std::int64_t> p = wholeValue(values[i + 1].view());
            if (p && *p >= 0 && *p < static_cast<std::int64_t>(entries)) parent[i] = *p;
        }
        enum : unsigned char { Unseen, OnPath, Settled };
        std::vector<unsigned char> state(entries, Unseen);
        std::vector<std::size_t> path;
        for (std::size_t start = 0; start < entries; ++start) {
            path.clear();
            std::size_t at = start;
            while (state[at] == Unseen) {
                state[at] = OnPath;
                path.push_back(at);
                if (parent[at] < 0) break;
                at = static_cast<std::size_t>(parent[at]);
            }
            if (state[at] == OnPath && parent[at] >= 0) {
                // The path came back to one of its own entries.
                found_.add(Kind::HierarchyLoop,
                           lodPlace(lod, "hierarchy", static_cast<std::int64_t>(at) + 2), [&] {
                               return "matrix " + std::to_string(at) + " is its own ancestor";
                           });
            }
            for (std::size_t entry : path) state[entry] = Settled;
        }
    }

    void subObject(const clsReader& subObject, const Place& here) {
        std::optional<std::int64_t> vertexCount;
        if (const clsReader* vertices = childNamed(subObject, "vertices")) {
            vertexCount = static_cast<std::int64_t>(vertices->Nodes().size());
            std::int64_t i = 0;
            for (const NodePtr& vertex : vertices->Nodes()) {
                if (vertex->Name.view() == "vertex") {
                    reference(*vertex, 2, lists_.points, "point", here, i);
                    reference(*vertex, 3, lists_.normals, "normal", here, i);
                    if (const clsReader* uvs = childNamed(*vertex, "vertex_uvs")) {
                        for (std::size_t n = 2; n <= uvs->Strings().size(); ++n)
                            reference(*uvs, n, lists_.uvPoints, "uv_point", here, i);
                        if (uvs->Strings().size() != 2 || uvs->Strings()[0].view() != "1") {  // one uv is the rule
                            Place place = here;
                            place.index = i;
                            checkValueCount(*uvs, 1, place, found_);
                        }
                    }
                }
                ++i;
            }
        }
        if (const clsReader* sets = childNamed(subObject, "vertex_sets")) {
            std::int64_t i = 0;
            for (const NodePtr& set : sets->Nodes()) {
                if (set->Name.view() == "vertex_set") {
                    Place place = here;
                    place.index = i;
                    vertexSet(*set, vertexCount, place);
                }
                ++i;
            }
        }
        std::int64_t trilists = 0;
        if (const clsReader* primitives = childNamed(subObject, "primitives")) {
            for (const NodePtr& child : primitives->Nodes()) {
                if (child->Name.view() == "prim_state_idx") {
                    Place place = here;
                    place.primitive = trilists;  // the triangle lists from here on
                    reference(*child, 1, lists_.primStates, "prim_state", place);
                } else if (child->Name.view() == "indexed_trilist") {
                    Place place = here;
                    place.primitive = trilists++;
                    triangleList(*child, vertexCount, place);
                }
            }
        }
        if (const clsReader* header = childNamed(subObject, "sub_object_header"))
            if (const clsReader* info = childNamed(*header, "geometry_info")) geometryNodes(*info, trilists, here);
    }

    void vertexSet(const clsReader& set, const std::optional<std::int64_t>& vertexCount, const Place& place) {
        reference(set, 1, lists_.vtxStates, "vtx_state", place);
        if (!vertexCount) return;
        const ShapeText* firstText = valueAt(set, 2);
        const ShapeText* countText = valueAt(set, 3);
        if (!firstText || !countText) return;
        const auto first = wholeValue(firstText->view());
        const auto count = wholeValue(countText->view());
        if (first && count && *first >= 0 && *count >= 0 && *first + *count <= *vertexCount) return;
        Place at = place;
        at.block = "vertex_set";
        at.value = 2;
        found_.add(Kind::ReferenceOutOfRange, at, [&] {
            return "vertices " + firstText->str() + " to " + firstText->str() + " + " + countText->str() +
                   " run past the sub-object's " + std::to_string(*vertexCount) + " vertices";
        });
    }

    void triangleList(const clsReader& trilist, const std::optional<std::int64_t>& vertexCount, const Place& place) {
        if (const clsReader* indices = childNamed(trilist, "vertex_idxs"); indices && vertexCount) {
            const StringList& values = indices->Strings();
            for (std::size_t n = 2; n <= values.size(); ++n) {
                const std::optional<std::int64_t> v = wholeValue(values[n - 1].view());
                if (v && *v >= 0 && *v < *vertexCount) continue;  // the common case, at once
                reference(*indices, n, vertexCount, "vertex", place, {}, static_cast<std::int64_t>((n - 2) / 3));
            }
        }
        if (const clsReader* normals = childNamed(trilist, "normal_idxs")) {
            const std::size_t size = normals->Strings().size();
            for (std::size_t n = 2; n <= size; n += 2)
                reference(*normals, n, lists_.normals, "normal", place, {}, static_cast<std::int64_t>((n - 2) / 2));
        }
    }

    // The geometry nodes share out the sub-object's triangle lists in turn;
    // together they cannot take more than there are. And every matrix maps
    // to a geometry node or to none.
    void geometryNodes(const clsReader& info, std::int64_t trilists, const Place& here) {
        std::int64_t nodeCount = 0;
        if (const clsReader* nodes = childNamed(info, "geometry_nodes")) {
            std::int64_t taken = 0;
            for (const NodePtr& node : nodes->Nodes()) {
                if (node->Name.view() != "geometry_node") continue;
                const std::int64_t index = nodeCount++;
                const clsReader* cullable = childNamed(*node, "cullable_prims");
                const ShapeText* prims = cullable ? valueAt(*cullable, 1) : nullptr;
                if (!prims) continue;
                const std::optional<std::int64_t> count = wholeValue(prims->view());
                if (count && *count >= 0 && taken + *count <= trilists) {
                    taken += *count;
                    continue;
                }
                Place at = here;
                at.block = "cullable_prims";
                at.index = index;
                at.value = 1;
                found_.add(Kind::ReferenceOutOfRange, at, [&] {
                    return "geometry node " + std::to_string(index) + " takes " + prims->str() +
                           " triangle lists after " + std::to_string(taken) + ", past the sub-object's " +
                           std::to_string(trilists);
                });
                if (count && *count >= 0) taken += *count;
            }
        }
        if (const clsReader* map = childNamed(info, "geometry_node_map"))
            for (std::size_t n = 2; n <= map->Strings().size(); ++n)
                reference(*map, n, nodeCount, "geometry node", here, {}, {}, true);
    }

    const clsReader& root_;
    Collector& found_;
    ShapeLists lists_;
};

}  // namespace

void findReferenceProblems(const clsReader& root, Collector& found) { ReferenceWalk(root, found).run(); }

}  // namespace orvane::findings

// Counted blocks: the first value of a list block says how many entries it
// holds (child blocks, or values after the count), and the report's figures
// come from those counts. Also the counts that must agree between blocks: a
// triangle list's three lists, and a sub-object's polygons.

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "findings/collector.h"

namespace orvane::findings {

namespace {

// How a counted block holds its entries.
struct CountRule {
    std::string_view name;
    int valuesPerEntry;  // 0: the entries are its child blocks (a list of them)
};

constexpr CountRule kCountRules[] = {
    {"normals", 0},           {"points", 0},          {"uv_points", 0},          {"colours", 0},
    {"images", 0},            {"textures", 0},        {"light_materials", 0},    {"linear_pos", 0},
    {"tcb_pos", 0},           {"tcb_rot", 0},         {"controllers", 0},        {"anim_nodes", 0},
    {"animations", 0},        {"lod_controls", 0},    {"distance_levels", 0},    {"sub_objects", 0},
    {"geometry_nodes", 0},    {"vtx_states", 0},      {"vertices", 0},           {"vertex_sets", 0},
    {"primitives", 0},        {"prim_states", 0},     {"matrices", 0},           {"volumes", 0},
    {"shader_names", 0},      {"texture_filter_names", 0}, {"sort_vectors", 0},  {"light_model_cfgs", 0},
    {"uv_ops", 0},            {"normal_idxs", 2},     {"vertex_uvs", 1},         {"geometry_node_map", 1},
    {"tex_idxs", 1},          {"vertex_idxs", 1},     {"flags", 1},              {"hierarchy", 1},
    {"subobject_shaders", 1}, {"subobject_light_cfgs", 1},
};

const CountRule* countRule(std::string_view name) {
    // Looked up for every block of the shape: by length first.
    static const auto byLength = [] {
        std::array<std::vector<const CountRule*>, 32> table;
        for (const CountRule& rule : kCountRules) table[rule.name.size()].push_back(&rule);
        return table;
    }();
    if (name.size() >= byLength.size()) return nullptr;
    for (const CountRule* rule : byLength[name.size()])
        if (rule->name == name) return rule;
    return nullptr;
}

// countRule of the name last asked for, kept.
class LastRule {
public:
    const CountRule* of(std::string_view name) {
        if (name != name_ || !looked_) {
            name_ = name;
            rule_ = countRule(name);
            looked_ = true;
        }
        return rule_;
    }

private:
    std::string_view name_;
    const CountRule* rule_ = nullptr;
    bool looked_ = false;
};

// Whether none of a block's children has children of its own, and none is
// one the walk treats apart (a triangle list, a sub-object).
bool holdsOnlyLeaves(const clsReader& node) {
    const std::string_view name = node.Name.view();
    if (name == "indexed_trilist" || name == "sub_object" || name == "distance_levels" || name == "sub_objects" ||
        name == "primitives")
        return false;
    for (const NodePtr& child : node.Nodes())
        if (!std::as_const(*child).Nodes().empty()) return false;  // the const form adds no child list
    return true;
}

// A block still to visit, with the numbers of the LOD, sub-object and
// primitive it stands in (-1: none).
struct Frame {
    const clsReader* node;
    std::int64_t lod, subObject, primitive;
    Place place() const {
        Place at;
        if (lod >= 0) at.lod = lod;
        if (subObject >= 0) at.subObject = subObject;
        if (primitive >= 0) at.primitive = primitive;
        return at;
    }
};

class CountWalk {
public:
    explicit CountWalk(Collector& found) : found_(found) {}

    void run(const clsReader& root) {
        std::vector<Frame> stack{{&root, -1, -1, -1}};
        while (!stack.empty()) {
            const Frame frame = stack.back();
            stack.pop_back();
            const clsReader& node = *frame.node;
            const std::string_view name = node.Name.view();
            if (const CountRule* rule = countRule(name)) counted(node, *rule, frame);
            if (name == "indexed_trilist") triangleLists(node, frame.place());
            if (name == "sub_object") polygons(node, frame.place());
            // Children in reverse, so they come off the stack in file order,
            // each with its number among its kind. Blocks without children
            // are checked at once.
            const NodeList& children = node.Nodes();
            const std::string_view numberedKind = name == "distance_levels" ? "distance_level"
                                                  : name == "sub_objects"   ? "sub_object"
                                                  : name == "primitives"    ? "indexed_trilist"
                                                                            : "";
            std::int64_t numbered = 0;
            if (!numberedKind.empty())
                for (const NodePtr& child : children) numbered += child->Name.view() == numberedKind;
            // A list's children mostly share one name: look each name up once.
            LastRule last;
            // A vertex's vertex_uvs are counted by the reference walk, which
            // visits them anyway.
            if (name == "vertices") continue;
            for (std::size_t i = children.size(); i-- > 0;) {
                const clsReader& child = *children[i];
                Frame next{&child, frame.lod, frame.subObject, frame.primitive};
                if (!numberedKind.empty() && child.Name.view() == numberedKind) {
                    --numbered;
                    (numberedKind == "distance_level" ? next.lod : numberedKind == "sub_object" ? next.subObject
                                                                                                : next.primitive) = numbered;
                    if (numberedKind == "distance_level") next.subObject = -1;
                }
                if (child.Nodes().empty()) {
                    if (const CountRule* rule = last.of(child.Name.view())) counted(child, *rule, next);
                } else if (holdsOnlyLeaves(child)) {
                    // A vertex and the like: checked here, not stacked.
                    if (const CountRule* rule = last.of(child.Name.view())) counted(child, *rule, next);
                    LastRule inner;
                    for (const NodePtr& leaf : child.Nodes())
                        if (const CountRule* rule = inner.of(leaf->Name.view())) counted(*leaf, *rule, next);
                } else {
                    stack.push_back(next);
                }
            }
        }
    }

private:
    void counted(const clsReader& node, const CountRule& rule, const Frame& frame) {
        if (rule.valuesPerEntry > 0) {
            checkValueCount(node, rule.valuesPerEntry, frame.place(), found_);
            return;
        }
        const ShapeText* countText = valueAt(node, 1);
        if (!countText) return;
        const std::optional<std::int64_t> count = wholeValue(countText->view());
        const auto held = static_cast<std::int64_t>(node.Nodes().size());
        if (count && *count == held) return;
        Place place = frame.place();
        place.block = node.Name.str();
        place.value = 1;
        found_.add(Kind::CountMismatch, place, [&] {
            return "count " + quotedText(countText->view()) + " but " + std::to_string(held) + " blocks follow";
        });
    }

    // A triangle list's normal_idxs and flags count its triangles: one for
    // every three vertex_idxs.
    void triangleLists(const clsReader& trilist, const Place& place) {
        const clsReader* indices = childNamed(trilist, "vertex_idxs");
        if (!indices || indices->Strings().empty()) return;
        const std::int64_t triangles = static_cast<std::int64_t>(indices->Strings().size() - 1) / 3;
        for (std::string_view name : {"normal_idxs", "flags"}) {
            const clsReader* list = childNamed(trilist, name);
            const ShapeText* countText = list ? valueAt(*list, 1) : nullptr;
            if (!countText) continue;
            const auto count = wholeValue(countText->view());
            if (count && *count == triangles) continue;
            // A count that disagrees with its own list is found as that.
            const std::int64_t perTriangle = name == "normal_idxs" ? 2 : 1;
            if (!count || *count * perTriangle != static_cast<std::int64_t>(list->Strings().size() - 1)) continue;
            Place at = place;
            at.block = std::string(name);
            at.value = 1;
            found_.add(Kind::CountMismatch, at, [&] {
                return "count " + quotedText(countText->view()) + " but vertex_idxs holds " +
                       std::to_string(triangles) + " triangles";
            });
        }
    }

    // The sub-object's polygons (geometry_info value 1) are its triangles.
    void polygons(const clsReader& subObject, const Place& place) {
        const clsReader* header = childNamed(subObject, "sub_object_header");
        const clsReader* info = header ? childNamed(*header, "geometry_info") : nullptr;
        const ShapeText* countText = info ? valueAt(*info, 1) : nullptr;
        const clsReader* primitives = childNamed(subObject, "primitives");
        if (!countText || !primitives) return;
        std::int64_t triangles = 0;
        for (const NodePtr& child : primitives->Nodes()) {
            if (child->Name.view() != "indexed_trilist") continue;
            if (const clsReader* indices = childNamed(*child, "vertex_idxs"); indices && !indices->Strings().empty())
                triangles += static_cast<std::int64_t>(indices->Strings().size() - 1) / 3;
        }
        const auto count = wholeValue(countText->view());
        if (count && *count == triangles) return;
        Place at = place;
        at.block = "geometry_info";
        at.value = 1;
        found_.add(Kind::CountMismatch, at, [&] {
            return "polygons " + quotedText(countText->view()) + " but the triangle lists hold " +
                   std::to_string(triangles);
        });
    }

    Collector& found_;
};

}  // namespace

void findCountProblems(const clsReader& root, Collector& found) { CountWalk(found).run(root); }

void checkValueCount(const clsReader& list, int perEntry, const Place& place, Collector& found) {
    const StringList& values = list.Strings();
    if (values.empty()) return;
    const std::optional<std::int64_t> count = wholeValue(values[0].view());
    const auto held = static_cast<std::int64_t>(values.size() - 1);
    if (count && *count * perEntry == held) return;
    Place at = place;
    at.block = list.Name.str();
    at.value = 1;
    found.add(Kind::CountMismatch, at, [&] {
        return "count " + quotedText(values[0].view()) + " but " + std::to_string(held) + " values after it follow";
    });
}

}  // namespace orvane::findings

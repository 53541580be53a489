#include "generator/shape_generator.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "document/path_text.h"
#include "generator/shape_files.h"

namespace orvane::test {

namespace {

// --- text in the writer's layout ---------------------------------------------

// Emits blocks and values laid out as the shape writer lays out a tree:
// a head per line indented by depth, values on the head's line (a new
// line once it holds 1000 characters), ")" on its own line after children.
class ShapeTextEmitter {
public:
    // spill receives the text so far whenever it grows large (none: keep all).
    explicit ShapeTextEmitter(std::function<void(const std::string&)> spill = {}) : spill_(std::move(spill)) {}

    void open(std::string_view name, std::string_view label = {}) {
        if (!open_.empty()) {
            beforeItem();
            open_.back() = true;
        }
        lineEnd();
        tabs(open_.size());
        append(name);
        if (!label.empty()) {
            append(" ");
            append(label);
        }
        append(" (");
        open_.push_back(false);
    }
    void value(std::string_view text) {
        beforeItem();
        append(" ");
        append(text);
    }
    void value(std::int64_t number) {
        char digits[24];
        auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
        value(std::string_view(digits, static_cast<std::size_t>(end - digits)));
    }
    // A coordinate as exporters write it: six decimals, such as -0.123456.
    void coordinate(double x) {
        const auto micro = static_cast<std::int64_t>(std::llround(x * 1e6));
        const std::uint64_t magnitude = micro < 0 ? static_cast<std::uint64_t>(-micro) : static_cast<std::uint64_t>(micro);
        char text[32];
        char* p = text;
        if (micro < 0) *p++ = '-';
        p = std::to_chars(p, text + sizeof text, magnitude / 1000000).ptr;
        *p++ = '.';
        std::uint64_t fraction = magnitude % 1000000;
        for (int i = 5; i >= 0; --i) {
            p[i] = static_cast<char>('0' + fraction % 10);
            fraction /= 10;
        }
        value(std::string_view(text, static_cast<std::size_t>(p + 6 - text)));
    }
    void close() {
        const bool hadChildren = open_.back();
        open_.pop_back();
        if (hadChildren) {
            lineEnd();
            tabs(open_.size());
            append(")");
        } else {
            append(" )");
        }
        if (spill_ && out_.size() > (std::size_t{1} << 20)) {
            spill_(out_);
            out_.clear();
        }
    }
    // A childless block of values in one go.
    template <class... Values>
    void leaf(std::string_view name, Values... values) {
        open(name);
        (value(values), ...);
        close();
    }
    std::string& text() { return out_; }

private:
    void beforeItem() {
        if (column_ >= 1000) {
            lineEnd();
            tabs(open_.size() - 1);
        }
    }
    void lineEnd() {
        out_ += "\r\n";
        column_ = 0;
    }
    void tabs(std::size_t n) { append(std::string(n, '\t')); }
    void append(std::string_view s) {
        out_ += s;
        column_ += s.size();
    }

    std::function<void(const std::string&)> spill_;
    std::string out_;
    std::vector<bool> open_;  // per open block: has it had a child yet
    std::size_t column_ = 0;
};

// --- the plan: how the triangles are spread --------------------------------

// The mesh of a geometry node: bands of kBandRows rows of kColumns quads
// (bands share no vertices, like texture seams), then the short-edge
// triangles, each with three vertices of its own.
constexpr int kColumns = 24;
constexpr int kBandRows = 2;
constexpr std::int64_t kBandVertices = (kBandRows + 1) * (kColumns + 1);
constexpr std::int64_t kBandTriangles = 2 * kColumns * kBandRows;

struct NodePlan {
    std::int64_t triangles = 0;
    std::int64_t shortTriangles = 0;
    std::int64_t gridVertices = 0;
    std::int64_t firstPoint = 0;  // points (and uv points) are one per vertex
    std::int64_t vertices() const { return gridVertices + 3 * shortTriangles; }
    std::int64_t primitives(int perPrimitive) const { return (triangles + perPrimitive - 1) / perPrimitive; }
};

struct Plan {
    ShapeParameters params;
    int nodesPerSubObject = 1;
    // nodes[lod][subObject][node]
    std::vector<std::vector<std::vector<NodePlan>>> nodes;
    std::int64_t points = 0;
    std::int64_t normals = 1;
    ShapeStats stats;
};

// Splits total into `parts` shares by weight, the remainder to the first.
std::vector<std::int64_t> split(std::int64_t total, const std::vector<double>& weights) {
    double sum = 0;
    for (double w : weights) sum += w;
    std::vector<std::int64_t> shares;
    std::int64_t given = 0;
    for (double w : weights) {
        shares.push_back(static_cast<std::int64_t>(std::floor(static_cast<double>(total) * w / sum)));
        given += shares.back();
    }
    shares[0] += total - given;
    return shares;
}

Plan makePlan(const ShapeParameters& p) {
    if (p.triangles < 0 || p.lods < 1 || p.subObjects < 1 || p.geometryNodesPerSubObject < 1 ||
        p.trianglesPerPrimitive < 1 || p.shortEdgeFraction < 0 || p.shortEdgeFraction > 1 || p.animationFrames < 1)
        throw std::invalid_argument("unusable shape parameters");
    Plan plan;
    plan.params = p;
    plan.nodesPerSubObject = p.geometryNodesPerSubObject;
    std::vector<double> lodWeights;
    for (int k = 0; k < p.lods; ++k) lodWeights.push_back(std::ldexp(1.0, -k));
    const auto perLod = split(p.triangles, lodWeights);
    for (int k = 0; k < p.lods; ++k) {
        auto& lod = plan.nodes.emplace_back();
        for (std::int64_t subTriangles : split(perLod[k], std::vector<double>(p.subObjects, 1.0))) {
            auto& sub = lod.emplace_back();
            for (std::int64_t t : split(subTriangles, std::vector<double>(p.geometryNodesPerSubObject, 1.0))) {
                NodePlan node;
                node.triangles = t;
                node.shortTriangles = std::llround(static_cast<double>(t) * p.shortEdgeFraction);
                const std::int64_t grid = t - node.shortTriangles;
                node.gridVertices = (grid + kBandTriangles - 1) / kBandTriangles * kBandVertices;
                node.firstPoint = plan.points;
                plan.points += node.vertices();
                plan.stats.triangles += t;
                plan.stats.shortEdgeTriangles += node.shortTriangles;
                plan.stats.primitives += node.primitives(p.trianglesPerPrimitive);
                sub.push_back(node);
            }
        }
    }
    plan.normals = plan.points / 8 + 1;
    plan.stats.points = plan.points;
    plan.stats.matrices = p.geometryNodesPerSubObject;
    return plan;
}

// --- geometry ----------------------------------------------------------------

// A deterministic value in [-1, 1) for an index.
double jitter(std::uint64_t seed, std::uint64_t index) {
    std::uint64_t z = seed * 0x9E3779B97F4A7C15ull + index + 0x632BE59BD9B4E5Full;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return static_cast<double>(z >> 11) / static_cast<double>(1ull << 52) - 1.0;
}

struct Point {
    double x, y, z;
};

// Grid points lie 0.5 m apart (jittered by at most 0.1 m); every node
// lies 3 m above the one before. A short-edge triangle has points 0 and 1
// exactly 1 mm apart and point 2 half a metre away.
Point pointOf(const Plan& plan, std::int64_t nodeIndex, const NodePlan& node, std::int64_t local) {
    const std::uint64_t seed = plan.params.seed;
    const std::uint64_t global = static_cast<std::uint64_t>(node.firstPoint + local);
    const double level = static_cast<double>(nodeIndex) * 3.0;
    if (local < node.gridVertices) {
        const std::int64_t band = local / kBandVertices;
        const std::int64_t row = (local % kBandVertices) / (kColumns + 1);
        const std::int64_t col = local % (kColumns + 1);
        return {static_cast<double>(col) * 0.5 - 6.0 + 0.1 * jitter(seed, global * 3),
                level + 0.2 * jitter(seed, global * 3 + 1),
                static_cast<double>(band * (kBandRows + 1) + row) * 0.5 + 0.1 * jitter(seed, global * 3 + 2)};
    }
    const std::int64_t sliver = (local - node.gridVertices) / 3;
    const std::int64_t corner = (local - node.gridVertices) % 3;
    const Point base{-20.0 - static_cast<double>(sliver % 50) * 0.75, level + 1.5,
                     static_cast<double>(sliver / 50) * 0.75};
    if (corner == 0) return base;
    if (corner == 1) return {base.x + 0.001, base.y, base.z};
    return {base.x, base.y, base.z + 0.5};
}

// The three node-local vertex numbers of triangle j of a node. Short-edge
// triangles are spread evenly among the grid triangles.
void triangleOf(const NodePlan& node, std::int64_t j, std::int64_t& gridSeen, std::int64_t& shortSeen,
                std::int64_t out[3]) {
    const std::int64_t t = node.triangles;
    const std::int64_t s = node.shortTriangles;
    const bool isShort = s > 0 && (j + 1) * s / t > j * s / t;
    if (isShort) {
        const std::int64_t first = node.gridVertices + 3 * shortSeen++;
        out[0] = first;
        out[1] = first + 1;
        out[2] = first + 2;
        return;
    }
    const std::int64_t q = gridSeen++;
    const std::int64_t quad = q / 2;
    const std::int64_t band = quad / (kColumns * kBandRows);
    const std::int64_t row = (quad / kColumns) % kBandRows;
    const std::int64_t col = quad % kColumns;
    auto at = [&](std::int64_t r, std::int64_t c) { return band * kBandVertices + r * (kColumns + 1) + c; };
    if (q % 2 == 0) {
        out[0] = at(row, col);
        out[1] = at(row + 1, col);
        out[2] = at(row, col + 1);
    } else {
        out[0] = at(row, col + 1);
        out[1] = at(row + 1, col);
        out[2] = at(row + 1, col + 1);
    }
}

// --- the blocks ----------------------------------------------------------------

void emitGlobals(ShapeTextEmitter& e, const Plan& plan) {
    const int matrices = plan.nodesPerSubObject;
    e.leaf("shape_header", "00000000", "00000000");
    e.open("volumes");
    e.value(1);
    e.open("vol_sphere");
    e.leaf("vector", "0", "1.500000", "0");
    e.value("250.000000");
    e.close();
    e.close();
    e.open("shader_names");
    e.value(1);
    e.leaf("named_shader", "TexDiff");
    e.close();
    e.open("texture_filter_names");
    e.value(1);
    e.leaf("named_filter_mode", "MipLinear");
    e.close();

    std::int64_t nodeIndex = 0;
    e.open("points");
    e.value(plan.points);
    for (const auto& lod : plan.nodes)
        for (const auto& sub : lod)
            for (const NodePlan& node : sub) {
                for (std::int64_t v = 0; v < node.vertices(); ++v) {
                    const Point p = pointOf(plan, nodeIndex, node, v);
                    e.open("point");
                    e.coordinate(p.x);
                    e.coordinate(p.y);
                    e.coordinate(p.z);
                    e.close();
                }
                ++nodeIndex;
            }
    e.close();

    e.open("uv_points");
    e.value(plan.points);
    for (std::int64_t i = 0; i < plan.points; ++i) {
        e.open("uv_point");
        e.coordinate(static_cast<double>(i % (kColumns + 1)) / kColumns);
        e.coordinate(-0.5 + 0.5 * jitter(plan.params.seed + 7, static_cast<std::uint64_t>(i)));
        e.close();
    }
    e.close();

    e.open("normals");
    e.value(plan.normals);
    for (std::int64_t i = 0; i < plan.normals; ++i) {
        const double a = jitter(plan.params.seed + 11, static_cast<std::uint64_t>(i));
        const double b = jitter(plan.params.seed + 13, static_cast<std::uint64_t>(i));
        const double length = std::sqrt(a * a + b * b + 1.0);
        e.open("vector");
        e.coordinate(a / length);
        e.coordinate(1.0 / length);
        e.coordinate(b / length);
        e.close();
    }
    e.close();

    e.open("sort_vectors");
    e.value(0);
    e.close();
    e.open("colours");
    e.value(0);
    e.close();

    e.open("matrices");
    e.value(matrices);
    for (int m = 0; m < matrices; ++m) {
        e.open("matrix", m == 0 ? "MAIN" : "PART_" + std::to_string(m));
        for (const char* v : {"1", "0", "0", "0", "1", "0", "0", "0", "1"}) e.value(v);
        e.coordinate(m == 0 ? 0.0 : 0.25 * m);
        e.coordinate(0.0);
        e.coordinate(m == 0 ? 0.0 : -0.125 * m);
        e.close();
    }
    e.close();

    e.open("images");
    e.value(1);
    e.leaf("image", "generated.ace");
    e.close();
    e.open("textures");
    e.value(1);
    e.leaf("texture", "0", "0", "0", "ff000000");
    e.close();
    e.open("light_materials");
    e.value(0);
    e.close();
    e.open("light_model_cfgs");
    e.value(1);
    e.open("light_model_cfg");
    e.value("00000000");
    e.open("uv_ops");
    e.value(1);
    e.leaf("uv_op_copy", "1", "0");
    e.close();
    e.close();
    e.close();

    // One vtx_state and one prim_state per matrix, that is per geometry node.
    e.open("vtx_states");
    e.value(matrices);
    for (int m = 0; m < matrices; ++m) {
        e.open("vtx_state");
        e.value("00000000");
        e.value(m);
        e.value("-5");
        e.value("0");
        e.value("00000002");
        e.close();
    }
    e.close();
    e.open("prim_states");
    e.value(matrices);
    for (int m = 0; m < matrices; ++m) {
        e.open("prim_state", "pm_node_" + std::to_string(m));
        e.value("00000000");
        e.value("0");
        e.leaf("tex_idxs", "1", "0");
        e.value("0");
        e.value(m);
        e.value("0");
        e.value("0");
        e.value("1");
        e.close();
    }
    e.close();
}

void emitSubObject(ShapeTextEmitter& e, const Plan& plan, const std::vector<NodePlan>& nodes, int index,
                   std::int64_t firstNodeIndex) {
    const int perPrimitive = plan.params.trianglesPerPrimitive;
    std::int64_t polygons = 0;
    std::int64_t lists = 0;
    std::int64_t vertices = 0;
    for (const NodePlan& node : nodes) {
        polygons += node.triangles;
        lists += node.primitives(perPrimitive);
        vertices += node.vertices();
    }
    const auto count = static_cast<std::int64_t>(nodes.size());

    e.open("sub_object");
    e.open("sub_object_header");
    for (const char* v : {"00000000", "-1", "-1", "000001d2", "000001c4"}) e.value(v);
    e.open("geometry_info");
    e.value(polygons);
    e.value(count);
    e.value(0);
    e.value(3 * polygons);
    e.value(0);
    e.value(0);
    e.value(lists);
    e.value(0);
    e.value(0);
    e.value(0);
    e.open("geometry_nodes");
    e.value(count);
    for (const NodePlan& node : nodes) {
        e.open("geometry_node");
        for (const char* v : {"1", "0", "0", "0", "0"}) e.value(v);
        e.leaf("cullable_prims", node.primitives(perPrimitive), node.triangles, 3 * node.triangles);
        e.close();
    }
    e.close();
    e.open("geometry_node_map");
    e.value(count);
    for (std::int64_t m = 0; m < count; ++m) e.value(m);
    e.close();
    e.close();
    e.leaf("subobject_shaders", "1", "0");
    e.leaf("subobject_light_cfgs", "1", "0");
    e.value(index);
    e.close();

    e.open("vertices");
    e.value(vertices);
    for (const NodePlan& node : nodes) {
        for (std::int64_t v = 0; v < node.vertices(); ++v) {
            const std::int64_t point = node.firstPoint + v;
            e.open("vertex");
            e.value("00000000");
            e.value(point);
            e.value(point % plan.normals);
            e.value("ff969696");
            e.value("ff808080");
            e.leaf("vertex_uvs", std::int64_t{1}, point);
            e.close();
        }
    }
    e.close();

    e.open("vertex_sets");
    e.value(count);
    std::int64_t first = 0;
    for (std::int64_t k = 0; k < count; ++k) {
        e.leaf("vertex_set", k, first, nodes[static_cast<std::size_t>(k)].vertices());
        first += nodes[static_cast<std::size_t>(k)].vertices();
    }
    e.close();

    e.open("primitives");
    e.value(2 * lists);
    std::int64_t setStart = 0;
    for (std::int64_t k = 0; k < count; ++k) {
        const NodePlan& node = nodes[static_cast<std::size_t>(k)];
        std::int64_t gridSeen = 0;
        std::int64_t shortSeen = 0;
        for (std::int64_t done = 0; done < node.triangles; done += perPrimitive) {
            const std::int64_t n = std::min<std::int64_t>(perPrimitive, node.triangles - done);
            std::vector<std::int64_t> corners;
            corners.reserve(static_cast<std::size_t>(3 * n));
            for (std::int64_t j = done; j < done + n; ++j) {
                std::int64_t tri[3];
                triangleOf(node, j, gridSeen, shortSeen, tri);
                corners.insert(corners.end(), tri, tri + 3);
            }
            e.leaf("prim_state_idx", k);
            e.open("indexed_trilist");
            e.open("vertex_idxs");
            e.value(3 * n);
            for (std::int64_t c : corners) e.value(setStart + c);
            e.close();
            e.open("normal_idxs");
            e.value(n);
            for (std::int64_t j = done; j < done + n; ++j) {
                e.value((firstNodeIndex + k + j) % plan.normals);
                e.value("3");
            }
            e.close();
            e.open("flags");
            e.value(n);
            for (std::int64_t j = 0; j < n; ++j) e.value("00000000");
            e.close();
            e.close();
        }
        setStart += node.vertices();
    }
    e.close();
    e.close();
}

void emitLods(ShapeTextEmitter& e, const Plan& plan) {
    const int matrices = plan.nodesPerSubObject;
    e.open("lod_controls");
    e.value(1);
    e.open("lod_control");
    e.leaf("distance_levels_header", "0");
    e.open("distance_levels");
    e.value(static_cast<std::int64_t>(plan.nodes.size()));
    std::int64_t nodeIndex = 0;
    for (std::size_t k = 0; k < plan.nodes.size(); ++k) {
        e.open("distance_level");
        e.open("distance_level_header");
        e.leaf("dlevel_selection", static_cast<std::int64_t>(200 * (k + 1)));
        e.open("hierarchy");
        e.value(matrices);
        for (int m = 0; m < matrices; ++m) e.value(m == 0 ? "-1" : "0");
        e.close();
        e.close();
        e.open("sub_objects");
        e.value(static_cast<std::int64_t>(plan.nodes[k].size()));
        for (std::size_t s = 0; s < plan.nodes[k].size(); ++s) {
            emitSubObject(e, plan, plan.nodes[k][s], static_cast<int>(s), nodeIndex);
            nodeIndex += static_cast<std::int64_t>(plan.nodes[k][s].size());
        }
        e.close();
        e.close();
    }
    e.close();
    e.close();
    e.close();
}

void emitAnimations(ShapeTextEmitter& e, const Plan& plan) {
    const ShapeParameters& p = plan.params;
    if (p.animation == GeneratedAnimation::None) return;
    const int matrices = plan.nodesPerSubObject;
    e.open("animations");
    e.value(1);
    e.open("animation");
    e.value(p.animationFrames);
    e.value(p.framesPerSecond);
    e.open("anim_nodes");
    e.value(matrices);
    for (int m = 0; m < matrices; ++m) {
        e.open("anim_node", m == 0 ? "MAIN" : "PART_" + std::to_string(m));
        e.open("controllers");
        if (p.animation == GeneratedAnimation::Redundant) {
            e.value(0);
        } else {
            e.value(2);
            e.open("tcb_rot");
            e.value(p.animationFrames);
            for (int f = 0; f < p.animationFrames; ++f) {
                const double angle = 0.1 * f;
                e.open("tcb_key");
                e.value(f);
                e.value("0");
                e.coordinate(std::sin(angle));
                e.value("0");
                e.coordinate(std::cos(angle));
                for (int i = 0; i < 5; ++i) e.value("0");
                e.close();
            }
            e.close();
            e.open("linear_pos");
            e.value(p.animationFrames);
            for (int f = 0; f < p.animationFrames; ++f) {
                e.open("linear_key");
                e.value(f);
                e.coordinate(0.25 * m);
                e.coordinate(0.05 * f);
                e.coordinate(-0.125 * m);
                e.close();
            }
            e.close();
        }
        e.close();
        e.close();
    }
    e.close();
    e.close();
    e.close();
}

ShapeStats generate(ShapeTextEmitter& e, const ShapeParameters& params) {
    const Plan plan = makePlan(params);
    e.open("shape");
    emitGlobals(e, plan);
    emitLods(e, plan);
    emitAnimations(e, plan);
    e.close();
    return plan.stats;
}

}  // namespace

std::string generateShapeBody(const ShapeParameters& params, ShapeStats* stats) {
    ShapeTextEmitter emitter;
    const ShapeStats made = generate(emitter, params);
    if (stats) *stats = made;
    return std::move(emitter.text());
}

ShapeStats writeGeneratedShape(const std::filesystem::path& path, const ShapeParameters& params) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::string bytes;
    auto put = [&](const std::string& ascii) {
        bytes.resize(ascii.size() * 2);
        for (std::size_t i = 0; i < ascii.size(); ++i) {
            bytes[2 * i] = ascii[i];
            bytes[2 * i + 1] = '\0';
        }
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    };
    out.write("\xFF\xFE", 2);
    put(std::string(kHeader) + "\r\n");
    ShapeTextEmitter emitter(put);
    const ShapeStats stats = generate(emitter, params);
    put(emitter.text());
    out.close();
    if (!out) throw std::runtime_error("cannot write " + pathText(path));
    return stats;
}

}  // namespace orvane::test

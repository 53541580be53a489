// The synthetic shapes are consistent the way the checks and repairs rely
// on: counts agree with the blocks they count, vertex sets follow each
// other, primitives stay inside their node's vertex set, and exactly the
// requested triangles have a 1 mm edge.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "document/cls_reader.h"
#include "document/tree_edit.h"
#include "support/tree_helpers.h"
#include "support/shape_files.h"
#include "generator/shape_generator.h"

using namespace orvane;
using namespace orvane::test;

namespace {

long long number(const clsReader& node, std::size_t n) { return std::stoll(std::string(valueAt(node, n))); }

const clsReader& child(const clsReader& node, std::string_view name) {
    NodePtr found = node.Find(name);
    if (!found) throw std::runtime_error(node.Name.str() + " has no " + std::string(name));
    return *found;
}

struct Point {
    float x, y, z;
};

// Checks one sub-object; returns its triangles with a short edge.
long long checkSubObject(const clsReader& sub, const std::vector<Point>& points) {
    const clsReader& info = child(child(sub, "sub_object_header"), "geometry_info");
    const clsReader& nodes = child(info, "geometry_nodes");
    const clsReader& vertices = child(sub, "vertices");
    const clsReader& sets = child(sub, "vertex_sets");
    const clsReader& primitives = child(sub, "primitives");

    EXPECT_EQ(number(nodes, 1), static_cast<long long>(nodes.Nodes().size()));
    EXPECT_EQ(number(info, 2), number(nodes, 1));
    EXPECT_EQ(number(vertices, 1), static_cast<long long>(vertices.Nodes().size()));
    EXPECT_EQ(number(primitives, 1), static_cast<long long>(primitives.Nodes().size()));
    if (sets.Nodes().size() != nodes.Nodes().size()) {
        ADD_FAILURE() << "one vertex set per geometry node expected";
        return 0;
    }

    long long expectedStart = 0;
    for (const NodePtr& set : sets.Nodes()) {
        EXPECT_EQ(number(*set, 2), expectedStart);
        expectedStart += number(*set, 3);
    }
    EXPECT_EQ(expectedStart, number(vertices, 1));

    std::vector<long long> nodeLists(nodes.Nodes().size()), nodeFaces(nodes.Nodes().size());
    long long faces = 0, lists = 0, shortTriangles = 0, primState = -1;
    for (const NodePtr& prim : primitives.Nodes()) {
        if (prim->Name == "prim_state_idx") {
            primState = number(*prim, 1);
            continue;
        }
        const clsReader& idx = child(*prim, "vertex_idxs");
        const long long n = number(child(*prim, "normal_idxs"), 1);
        EXPECT_EQ(number(idx, 1), 3 * n);
        const clsReader& set = *sets.Nodes()[static_cast<std::size_t>(primState)];
        for (long long t = 0; t < n; ++t) {
            Point p[3];
            for (int c = 0; c < 3; ++c) {
                const long long v = number(idx, static_cast<std::size_t>(2 + 3 * t + c));
                EXPECT_GE(v, number(set, 2));
                EXPECT_LT(v, number(set, 2) + number(set, 3));
                p[c] = points[static_cast<std::size_t>(number(*vertices.Nodes()[static_cast<std::size_t>(v)], 2))];
            }
            int shortEdges = 0;
            for (int c = 0; c < 3; ++c) {
                const Point& a = p[c];
                const Point& b = p[(c + 1) % 3];
                const float d = (a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + (a.z - b.z) * (a.z - b.z);
                if (d < 0.00000625f) ++shortEdges;
            }
            EXPECT_LE(shortEdges, 1);
            shortTriangles += shortEdges;
        }
        faces += n;
        ++lists;
        nodeLists[static_cast<std::size_t>(primState)] += 1;
        nodeFaces[static_cast<std::size_t>(primState)] += n;
    }
    EXPECT_EQ(number(info, 1), faces);
    EXPECT_EQ(number(info, 4), 3 * faces);
    EXPECT_EQ(number(info, 7), lists);
    for (std::size_t k = 0; k < nodes.Nodes().size(); ++k) {
        const clsReader& cull = child(*nodes.Nodes()[k], "cullable_prims");
        EXPECT_EQ(number(cull, 1), nodeLists[k]);
        EXPECT_EQ(number(cull, 2), nodeFaces[k]);
        EXPECT_EQ(number(cull, 3), 3 * nodeFaces[k]);
    }
    return shortTriangles;
}

TEST(ShapeGenerator, CountsAreConsistentAndShortEdgesAreExactlyTheRequestedOnes) {
    ShapeParameters params;
    params.triangles = 6000;
    params.lods = 3;
    params.subObjects = 2;
    params.geometryNodesPerSubObject = 3;
    params.trianglesPerPrimitive = 700;
    params.shortEdgeFraction = 0.02;
    ShapeStats stats;
    NodePtr root = readShape(generateShapeBody(params, &stats));
    EXPECT_EQ(childNames(*root),
              (std::vector<std::string>{"shape_header", "volumes", "shader_names", "texture_filter_names", "points",
                                        "uv_points", "normals", "sort_vectors", "colours", "matrices", "images",
                                        "textures", "light_materials", "light_model_cfgs", "vtx_states",
                                        "prim_states", "lod_controls"}));
    std::vector<Point> points;
    for (const NodePtr& p : child(*root, "points").Nodes())
        points.push_back({std::stof(std::string(valueAt(*p, 1))), std::stof(std::string(valueAt(*p, 2))),
                          std::stof(std::string(valueAt(*p, 3)))});
    EXPECT_EQ(static_cast<long long>(points.size()), stats.points);

    const clsReader& levels = child(child(child(*root, "lod_controls"), "lod_control"), "distance_levels");
    EXPECT_EQ(number(levels, 1), 3);
    long long triangles = 0, shortTriangles = 0;
    for (const NodePtr& level : levels.Nodes()) {
        const clsReader& subs = child(*level, "sub_objects");
        EXPECT_EQ(number(subs, 1), 2);
        for (const NodePtr& sub : subs.Nodes()) {
            triangles += number(child(child(*sub, "sub_object_header"), "geometry_info"), 1);
            shortTriangles += checkSubObject(*sub, points);
        }
    }
    EXPECT_EQ(triangles, 6000);
    EXPECT_EQ(shortTriangles, stats.shortEdgeTriangles);
    EXPECT_NEAR(static_cast<double>(stats.shortEdgeTriangles), 120.0, 3.0);

    // Each vtx_state names its own matrix, each prim_state its own vtx_state.
    const clsReader& vtxStates = child(*root, "vtx_states");
    const clsReader& primStates = child(*root, "prim_states");
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(number(*vtxStates.Nodes()[k], 2), static_cast<long long>(k));
        EXPECT_EQ(number(*primStates.Nodes()[k], 5), static_cast<long long>(k));
    }
}

TEST(ShapeGenerator, SizeDeterminismAndAnimations) {
    ShapeParameters params;
    params.triangles = 10000;
    const std::string body = generateShapeBody(params);
    EXPECT_EQ(body, generateShapeBody(params));
    const double bytesPerTriangle = static_cast<double>(utf16Bytes(body).size()) / 10000.0;
    EXPECT_GT(bytesPerTriangle, 300.0);
    EXPECT_LT(bytesPerTriangle, 400.0);

    params.triangles = 100;
    params.animation = GeneratedAnimation::Redundant;
    NodePtr redundant = readShape(generateShapeBody(params));
    const clsReader& nodes = child(child(child(*redundant, "animations"), "animation"), "anim_nodes");
    EXPECT_EQ(nodes.Nodes().size(), 2u);
    for (const NodePtr& n : nodes.Nodes()) EXPECT_EQ(valuesOf(child(*n, "controllers")), std::vector<std::string>{"0"});

    params.animation = GeneratedAnimation::Frames;
    params.animationFrames = 16;
    params.framesPerSecond = 30;
    NodePtr moving = readShape(generateShapeBody(params));
    const clsReader& animation = child(child(*moving, "animations"), "animation");
    EXPECT_EQ(valueAt(animation, 1), "16");
    EXPECT_EQ(valueAt(animation, 2), "30");
    EXPECT_EQ(number(child(*child(animation, "anim_nodes").Nodes()[1], "controllers"), 1), 2);
}

}  // namespace

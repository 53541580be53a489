#pragma once
// Shapes for the tests of sub-object division, laid out like the worked
// example: three geometry nodes drawn by matrices 0, 1 and 3, through
// vtx_states 0, 1 and 2 (prim_states 0, 1 and 2 use them in turn), with
// vertex sets (0, 0, 100), (1, 100, 50) and (2, 150, 80) over 230 vertices.
// Vertex k points at point k, so moved vertices can be recognised.

#include <string>
#include <vector>

namespace orvane::test {

inline std::string twoTriangles(const std::string& vertexNumbers) {
    return "indexed_trilist ( vertex_idxs ( 6 " + vertexNumbers + " ) normal_idxs ( 2 0 3 1 3 ) flags ( 2 0 0 ) )";
}

struct SubObjectLayout {
    std::vector<int> polygons{60, 30, 20};  // cullable_prims value 2 of each geometry node
    std::string nodeMap = "4 0 1 -1 2";
    std::string vertexSets = "3 vertex_set ( 0 0 100 ) vertex_set ( 1 100 50 ) vertex_set ( 2 150 80 )";
    int vertices = 230;
    // primitives children; by default one triangle list per prim_state.
    std::vector<std::string> primitives{
        "prim_state_idx ( 0 )", twoTriangles("0 1 2 97 98 99"),
        "prim_state_idx ( 1 )", twoTriangles("100 101 102 147 148 149"),
        "prim_state_idx ( 2 )", twoTriangles("150 151 152 227 228 229")};
    std::string infoTail = "77 %IDX% 55 66 %PRIMS% 88 99 11";  // values 3 to 10 around the totals
};

// Geometry node j (0-based) holds j + 1 triangle lists and 3 indices per polygon.
inline std::string subObjectText(const SubObjectLayout& layout) {
    int total = 0, indices = 0, prims = 0;
    std::string nodes = "geometry_nodes ( " + std::to_string(layout.polygons.size()) + "\n";
    for (std::size_t j = 0; j < layout.polygons.size(); ++j) {
        const int p = layout.polygons[j];
        total += p;
        indices += 3 * p;
        prims += static_cast<int>(j) + 1;
        nodes += "  geometry_node ( 1 0 0 0 0 cullable_prims ( " + std::to_string(j + 1) + " " + std::to_string(p) +
                 " " + std::to_string(3 * p) + " ) )\n";
    }
    nodes += ")\n";
    std::string tail = layout.infoTail;
    tail.replace(tail.find("%IDX%"), 5, std::to_string(indices));
    tail.replace(tail.find("%PRIMS%"), 7, std::to_string(prims));
    std::string vertices = "vertices ( " + std::to_string(layout.vertices) + "\n";
    for (int k = 0; k < layout.vertices; ++k)
        vertices += "  vertex ( 00000000 " + std::to_string(k) + " 0 ffffffff ff000000 vertex_uvs ( 1 0 ) )\n";
    vertices += ")\n";
    std::string primitives = "primitives ( " + std::to_string(layout.primitives.size()) + "\n";
    for (const std::string& child : layout.primitives) primitives += "  " + child + "\n";
    primitives += ")\n";
    return "sub_object (\n"
           "sub_object_header ( 00000400 -1 -1 000001d2 000001c4\n"
           "  geometry_info ( " + std::to_string(total) + " " + std::to_string(layout.polygons.size()) + " " + tail +
           "\n" + nodes + "  geometry_node_map ( " + layout.nodeMap + " )\n  )\n"
           "  subobject_shaders ( 1 0 ) subobject_light_cfgs ( 1 0 ) 0\n)\n" +
           vertices + "vertex_sets ( " + layout.vertexSets + " )\n" + primitives + ")\n";
}

// points > 0 adds a points block: point k at (k, 0, 0), so no edge is short.
inline std::string divisionShapeText(const std::vector<std::string>& subObjects, int points = 0) {
    std::string text = "shape (\n";
    if (points > 0) {
        text += "points ( " + std::to_string(points) + "\n";
        for (int k = 0; k < points; ++k) text += "  point ( " + std::to_string(k) + " 0 0 )\n";
        text += ")\n";
    }
    text +=
        "vtx_states ( 3\n"
        "  vtx_state ( 00000000 0 -5 0 00000002 )\n"
        "  vtx_state ( 00000000 1 -5 0 00000002 )\n"
        "  vtx_state ( 00000000 3 -5 0 00000002 )\n"
        ")\n"
        "prim_states ( 3\n"
        "  prim_state ( 00000000 0 tex_idxs ( 1 0 ) 0 0 0 0 1 )\n"
        "  prim_state ( 00000000 0 tex_idxs ( 1 0 ) 0 1 0 0 1 )\n"
        "  prim_state ( 00000000 0 tex_idxs ( 1 0 ) 0 2 0 0 1 )\n"
        ")\n"
        "lod_controls ( 1 lod_control ( distance_levels_header ( 0 ) distance_levels ( 1\n"
        "distance_level ( distance_level_header ( dlevel_selection ( 2000 ) hierarchy ( 1 -1 ) )\n"
        "sub_objects ( " + std::to_string(subObjects.size()) + "\n";
    for (const std::string& subObject : subObjects) text += subObject;
    return text + ")\n) ) ) )\n)\n";
}

}  // namespace orvane::test

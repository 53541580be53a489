#pragma once
// Shapes for the tests of primitive splitting: one sub-object whose
// primitives block is given, over a fixed table of states.
//
// prim_state 0 -> vtx_state 1 -> matrix 1 -> geometry node 0 (cullable_prims 10 100 300)
// prim_state 1 -> vtx_state 0 -> matrix 0 -> geometry node 1 (cullable_prims 20 200 600)
// prim_state 2 -> vtx_state 2 -> matrix 2 -> map entry -1
// prim_state 3 -> vtx_state 9, which does not exist
// geometry_info value 7 (triangle lists) is 30.

#include <string>
#include <vector>

namespace orvane::test {

inline std::string primStateIdx(int number) { return "prim_state_idx ( " + std::to_string(number) + " )\n"; }

// Triangle t (1-based) of a list built from `base`: vertex numbers
// base+3t-3, base+3t-2, base+3t-1; normal values base+t and 3; flag base+t.
inline std::string triangleText(int base, int t) {
    return std::to_string(base + 3 * t - 3) + " " + std::to_string(base + 3 * t - 2) + " " +
           std::to_string(base + 3 * t - 1) + " | " + std::to_string(base + t) + " 3 | " + std::to_string(base + t);
}

inline std::vector<std::string> trianglesFrom(int base, int first, int last) {
    std::vector<std::string> triangles;
    for (int t = first; t <= last; ++t) triangles.push_back(triangleText(base, t));
    return triangles;
}

// An indexed_trilist of `triangles` triangles; the three lists' counts can be
// overridden to build inconsistent lists.
inline std::string trilistText(int base, int triangles, int indexValues = -1, int normalValues = -1) {
    if (indexValues < 0) indexValues = 3 * triangles;
    if (normalValues < 0) normalValues = 2 * triangles;
    std::string indices, normals, flags;
    for (int v = 0; v < indexValues; ++v) indices += " " + std::to_string(base + v);
    for (int v = 0; v < normalValues; ++v) normals += " " + std::to_string(v % 2 == 0 ? base + v / 2 + 1 : 3);
    for (int t = 1; t <= triangles; ++t) flags += " " + std::to_string(base + t);
    return "indexed_trilist ( vertex_idxs ( " + std::to_string(indexValues) + indices + " ) normal_idxs ( " +
           std::to_string(normalValues / 2) + normals + " ) flags ( " + std::to_string(triangles) + flags + " ) )\n";
}

inline std::string splitShapeText(const std::vector<std::string>& primitiveChildren,
                                  const std::string& nodeMap = "3 1 0 -1") {
    std::string primitives = "primitives ( " + std::to_string(primitiveChildren.size()) + "\n";
    for (const std::string& child : primitiveChildren) primitives += child;
    primitives += ")\n";
    return "shape (\n"
           "vtx_states ( 3\n"
           "  vtx_state ( 00000000 0 -5 0 00000002 )\n"
           "  vtx_state ( 00000000 1 -5 0 00000002 )\n"
           "  vtx_state ( 00000000 2 -5 0 00000002 )\n"
           ")\n"
           "prim_states ( 4\n"
           "  prim_state ( 00000000 0 tex_idxs ( 1 0 ) 0 1 0 0 1 )\n"
           "  prim_state ( 00000000 0 tex_idxs ( 1 0 ) 0 0 0 0 1 )\n"
           "  prim_state ( 00000000 0 tex_idxs ( 1 0 ) 0 2 0 0 1 )\n"
           "  prim_state ( 00000000 0 tex_idxs ( 1 0 ) 0 9 0 0 1 )\n"
           ")\n"
           "lod_controls ( 1 lod_control ( distance_levels_header ( 0 ) distance_levels ( 1\n"
           "distance_level ( distance_level_header ( dlevel_selection ( 2000 ) hierarchy ( 1 -1 ) )\n"
           "sub_objects ( 1\n"
           "sub_object (\n"
           "  sub_object_header ( 00000400 -1 -1 000001d2 000001c4\n"
           "    geometry_info ( 300 2 0 900 0 0 30 0 0 0\n"
           "      geometry_nodes ( 2\n"
           "        geometry_node ( 1 0 0 0 0 cullable_prims ( 10 100 300 ) )\n"
           "        geometry_node ( 1 0 0 0 0 cullable_prims ( 20 200 600 ) )\n"
           "      )\n"
           "      geometry_node_map ( " + nodeMap + " )\n"
           "    )\n"
           "    subobject_shaders ( 1 0 ) subobject_light_cfgs ( 1 0 ) 0\n"
           "  )\n"
           "  vertices ( 0 )\n"
           "  vertex_sets ( 0 )\n" +
           primitives +
           ")\n"
           ")\n"
           ")\n"
           ") ) )\n"
           ")\n";
}

}  // namespace orvane::test

#pragma once
// Small shapes with matrices and a hierarchy for the geometry tests, built
// from their parts so that each test can break one reference.

#include <string>

namespace orvane::test {

struct PlacedShapeParts {
    std::string points = "point ( 0 1 0 ) point ( 1 0 0 ) point ( 0 0 1 ) point ( 0 0 1.001 )";
    int pointCount = 4;
    std::string normals = "normals ( 1 vector ( 0 1 0 ) )";
    // Three matrices: the third is placed by the second, which the first places.
    std::string matrices =
        "matrices ( 3\r\n"
        "\tmatrix ROOT ( 0 0 -1 0 1 0 1 0 0 0 0 10 )\r\n"
        "\tmatrix BOGIE ( 1 0 0 0 1 0 0 0 1 1 2 3 )\r\n"
        "\tmatrix WHEELS ( 1 0 0 0 0 1 0 -1 0 0 1 0 )\r\n"
        ")";
    std::string hierarchy = "hierarchy ( 3 -1 0 1 )";
    std::string vtxStates = "vtx_states ( 3 vtx_state ( 0 0 -5 0 2 ) vtx_state ( 0 1 -5 0 2 ) vtx_state ( 0 2 -5 0 2 ) )";
    std::string primStates =
        "prim_states ( 3 prim_state ( 0 0 tex_idxs ( 1 0 ) 0 0 0 0 1 ) prim_state ( 0 0 tex_idxs ( 1 0 ) 0 1 0 0 1 )"
        " prim_state ( 0 0 tex_idxs ( 1 0 ) 0 2 0 0 1 ) )";
    std::string vertices =
        "vertices ( 4 vertex ( 0 0 0 0 0 vertex_uvs ( 0 ) ) vertex ( 0 1 0 0 0 vertex_uvs ( 0 ) )"
        " vertex ( 0 2 0 0 0 vertex_uvs ( 0 ) ) vertex ( 0 3 0 0 0 vertex_uvs ( 0 ) ) )";
    // Primitive 0 under prim_state 2 (matrix WHEELS), primitive 1 under prim_state 0 (ROOT).
    std::string primitives =
        "primitives ( 4 prim_state_idx ( 2 )\r\n"
        "\tindexed_trilist ( vertex_idxs ( 6 0 1 2 1 2 3 ) normal_idxs ( 2 0 3 0 3 ) flags ( 2 0 0 ) )\r\n"
        "\tprim_state_idx ( 0 )\r\n"
        "\tindexed_trilist ( vertex_idxs ( 3 0 1 2 ) normal_idxs ( 1 0 3 ) flags ( 1 0 ) ) )";
    int polygons = 3;
};

inline std::string placedShape(const PlacedShapeParts& s) {
    return "shape ( shape_header ( 0 0 )\r\n"
           "points ( " + std::to_string(s.pointCount) + " " + s.points + " )\r\n" +
           s.normals + "\r\n" + s.matrices + "\r\n" + s.vtxStates + "\r\n" + s.primStates + "\r\n" +
           "lod_controls ( 1 lod_control ( dist_levels_header ( 0 ) distance_levels ( 1\r\n"
           "distance_level ( distance_level_header ( dlevel_selection ( 200 ) " + s.hierarchy + " )\r\n"
           "sub_objects ( 1 sub_object (\r\n"
           "sub_object_header ( 00000400 -1 -1 000001d2 000001c4 geometry_info ( " + std::to_string(s.polygons) +
           " 1 0 9 0 0 2 0 0 0 geometry_nodes ( 1 geometry_node ( 2 0 0 0 0 cullable_prims ( 2 " +
           std::to_string(s.polygons) + " 9 ) ) ) geometry_node_map ( 3 0 0 0 ) )"
           " subobject_shaders ( 1 0 ) subobject_light_cfgs ( 1 0 ) 0 )\r\n" +
           s.vertices + "\r\nvertex_sets ( 1 vertex_set ( 0 0 4 ) )\r\n" + s.primitives +
           "\r\n) ) ) ) ) ) )";
}

}  // namespace orvane::test

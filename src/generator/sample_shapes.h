#pragma once
// Small shape bodies for the run tests.

#include <string>

namespace orvane::test {

// A minimal shape: one LOD, one sub-object with one primitive of two
// triangles far apart from each other, and optionally an animation.
inline std::string smallShape(const std::string& animation = "", const std::string& extraBlock = "") {
    return "shape (\r\n"
           "\tshape_header ( 00000000 00000000 )\r\n"
           "\tpoints ( 4\r\n"
           "\t\tpoint ( 0 0 0 ) point ( 1 0 0 ) point ( 0 1 0 ) point ( 0 0 1 )\r\n"
           "\t)\r\n"
           "\tvtx_states ( 1 vtx_state ( 00000000 0 -5 0 00000002 ) )\r\n"
           "\tprim_states ( 1 prim_state ( 00000000 0 tex_idxs ( 1 0 ) 0 0 0 0 1 ) )\r\n" +
           extraBlock +
           "\tlod_controls ( 1\r\n"
           "\t\tlod_control ( dist_levels_header ( 0 )\r\n"
           "\t\t\tdistance_levels ( 1\r\n"
           "\t\t\t\tdistance_level (\r\n"
           "\t\t\t\t\tdistance_level_header ( dlevel_selection ( 200 ) hierarchy ( 1 -1 ) )\r\n"
           "\t\t\t\t\tsub_objects ( 1\r\n"
           "\t\t\t\t\t\tsub_object (\r\n"
           "\t\t\t\t\t\t\tsub_object_header ( 00000400 -1 -1 000001d2 000001c4\r\n"
           "\t\t\t\t\t\t\t\tgeometry_info ( 2 1 0 6 0 0 1 0 0 0\r\n"
           "\t\t\t\t\t\t\t\t\tgeometry_nodes ( 1 geometry_node ( 2 0 0 0 0 cullable_prims ( 1 2 6 ) ) )\r\n"
           "\t\t\t\t\t\t\t\t\tgeometry_node_map ( 1 0 )\r\n"
           "\t\t\t\t\t\t\t\t)\r\n"
           "\t\t\t\t\t\t\t\tsubobject_shaders ( 1 0 ) subobject_light_cfgs ( 1 0 ) 0\r\n"
           "\t\t\t\t\t\t\t)\r\n"
           "\t\t\t\t\t\t\tvertices ( 4\r\n"
           "\t\t\t\t\t\t\t\tvertex ( 00000000 0 0 ff969696 ff808080 vertex_uvs ( 1 0 ) )\r\n"
           "\t\t\t\t\t\t\t\tvertex ( 00000000 1 0 ff969696 ff808080 vertex_uvs ( 1 0 ) )\r\n"
           "\t\t\t\t\t\t\t\tvertex ( 00000000 2 0 ff969696 ff808080 vertex_uvs ( 1 0 ) )\r\n"
           "\t\t\t\t\t\t\t\tvertex ( 00000000 3 0 ff969696 ff808080 vertex_uvs ( 1 0 ) )\r\n"
           "\t\t\t\t\t\t\t)\r\n"
           "\t\t\t\t\t\t\tvertex_sets ( 1 vertex_set ( 0 0 4 ) )\r\n"
           "\t\t\t\t\t\t\tprimitives ( 2\r\n"
           "\t\t\t\t\t\t\t\tprim_state_idx ( 0 )\r\n"
           "\t\t\t\t\t\t\t\tindexed_trilist (\r\n"
           "\t\t\t\t\t\t\t\t\tvertex_idxs ( 6 0 1 2 1 2 3 )\r\n"
           "\t\t\t\t\t\t\t\t\tnormal_idxs ( 2 0 3 0 3 )\r\n"
           "\t\t\t\t\t\t\t\t\tflags ( 2 00000000 00000000 )\r\n"
           "\t\t\t\t\t\t\t\t)\r\n"
           "\t\t\t\t\t\t\t)\r\n"
           "\t\t\t\t\t\t)\r\n"
           "\t\t\t\t\t)\r\n"
           "\t\t\t\t)\r\n"
           "\t\t\t)\r\n"
           "\t\t)\r\n"
           "\t)\r\n" +
           animation + ")";
}

// An animations block whose first animation has the given frames and rate,
// with one live controller (so it is not redundant).
inline std::string animationBlock(int frames, int fps) {
    return "\tanimations ( 1\r\n"
           "\t\tanimation ( " + std::to_string(frames) + " " + std::to_string(fps) + "\r\n"
           "\t\t\tanim_nodes ( 1\r\n"
           "\t\t\t\tanim_node MAIN ( controllers ( 1 linear_pos ( 1 linear_key ( 0 0 0 0 ) ) ) )\r\n"
           "\t\t\t)\r\n"
           "\t\t)\r\n"
           "\t)\r\n";
}

}  // namespace orvane::test

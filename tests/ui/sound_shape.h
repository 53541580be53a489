#pragma once
// A small sound shape for the window's tests, in the text the tests write.

#include <string>
#include <string_view>

namespace orvane::test {

// One LOD, one sub-object of one triangle with edges of a metre: nothing to repair.
// A second point at (0.001, 0, 0) instead makes an edge of 1 mm.
inline constexpr std::string_view kSoundShape = R"(shape (
	shape_header ( 00000000 00000000 )
	points ( 3 point ( 0 0 0 ) point ( 1 0 0 ) point ( 0 0 1 ) )
	normals ( 1 vector ( 0 1 0 ) )
	matrices ( 1 matrix MAIN ( 1 0 0 0 1 0 0 0 1 0 0 0 ) )
	vtx_states ( 1 vtx_state ( 00000000 0 -5 0 00000002 ) )
	prim_states ( 1 prim_state ( 00000000 0 tex_idxs ( 0 ) 0 0 0 0 1 ) )
	lod_controls ( 1 lod_control ( distance_levels_header ( 0 ) distance_levels ( 1 distance_level (
		distance_level_header ( dlevel_selection ( 2000 ) hierarchy ( 1 -1 ) )
		sub_objects ( 1 sub_object (
			sub_object_header ( 00000400 -1 -1 000001d2 000001c4
				geometry_info ( 1 1 0 3 0 0 1 0 0 0
					geometry_nodes ( 1 geometry_node ( 2 0 0 0 0 cullable_prims ( 1 1 3 ) ) )
					geometry_node_map ( 1 0 ) )
				subobject_shaders ( 1 0 ) subobject_light_cfgs ( 1 0 ) 0 )
			vertices ( 3
				vertex ( 00000000 0 0 00000000 00000000 vertex_uvs ( 1 0 ) )
				vertex ( 00000000 1 0 00000000 00000000 vertex_uvs ( 1 0 ) )
				vertex ( 00000000 2 0 00000000 00000000 vertex_uvs ( 1 0 ) ) )
			vertex_sets ( 1 vertex_set ( 0 0 3 ) )
			primitives ( 2 prim_state_idx ( 0 )
				indexed_trilist ( vertex_idxs ( 3 0 1 2 ) normal_idxs ( 1 0 3 ) flags ( 1 00000000 ) ) ) ) ) ) ) ) ) )
)";

inline std::string withShortEdge(std::string_view shape) {
    std::string text(shape);
    const std::string metre = "point ( 1 0 0 )";
    text.replace(text.find(metre), metre.size(), "point ( 0.001 0 0 )");
    return text;
}

}  // namespace orvane::test

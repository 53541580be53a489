#include "document/block_rules.h"

#include <array>
#include <stdexcept>
#include <string>
#include <unordered_map>

namespace orvane::binary {

namespace {

// Token numbers 0..131 in order: the shape vocabulary.
constexpr std::array<std::string_view, 132> kNames = {
    "error", "comment", "point", "vector", "quat", "normals", "normal_idxs", "points", "uv_point", "uv_points",
    "colour", "colours", "packed_colour", "image", "images", "texture", "textures", "light_material",
    "light_materials", "linear_key", "tcb_key", "linear_pos", "tcb_pos", "slerp_rot", "tcb_rot", "controllers",
    "anim_node", "anim_nodes", "animation", "animations", "anim", "lod_controls", "lod_control",
    "distance_levels_header", "distance_level_header", "dlevel_selection", "distance_levels", "distance_level",
    "sub_objects", "sub_object", "sub_object_header", "geometry_info", "geometry_nodes", "geometry_node",
    "geometry_node_map", "cullable_prims", "vtx_state", "vtx_states", "vertex", "vertex_uvs", "vertices",
    "vertex_set", "vertex_sets", "primitives", "prim_state", "prim_states", "prim_state_idx",
    "indexed_point_list", "point_list", "indexed_line_list", "indexed_trilist", "tex_idxs", "tri", "vertex_idxs",
    "flags", "matrix", "matrices", "hierarchy", "volumes", "vol_sphere", "shape_header", "shape", "shader_names",
    "shader_name", "texture_filter_names", "texture_filter_name", "sort_vectors", "uvop_arg_sets",
    "uvop_arg_set", "light_model_cfgs", "light_model_cfg", "uv_ops", "uvop_copy", "uv_op_share", "uv_op_copy",
    "uv_op_uniformscale", "uv_op_user_uninformscale", "uv_op_nonuniformscale", "uv_op_user_nonuninformscale",
    "uv_op_transform", "uv_op_user_transform", "uv_op_reflectxy", "uv_op_reflectmap", "uv_op_reflectmapfull",
    "uv_op_spheremap", "uv_op_spheremapfull", "uv_op_specularmap", "uv_op_embossbump", "user_uv_args", "io_dev",
    "io_map", "sguid", "dlev_cfg_table", "dlev_cfg", "subobject_shaders", "subobject_light_cfgs",
    "shape_named_data", "shape_named_data_header", "shape_named_geometry", "shape_geom_ref", "material_palette",
    "blend_config", "blend_config_header", "filtermode_cfgs", "filter_mode_cfg", "blend_mode_cfgs",
    "blend_mode_cfg", "texture_stage_progs", "texture_stage_prog", "blend_mode_cfg_refs", "shader_cfgs",
    "shader_cfg", "texture_slots", "texture_slot", "named_filter_modes", "named_filter_mode",
    "filtermode_cfg_refs", "filtermode_cfg_ref", "named_shaders", "named_shader", "shader_cfg_refs",
    "shader_cfg_ref"};

// The contents of each block with a known layout. Values: u (unsigned
// 32-bit), i (signed 32-bit), x (flags or colour, printed as 8 hex digits),
// f (single-precision float), s (string); <a|b> a nested block of one of
// those names. A trailing "?" marks an item present only when bytes remain,
// "*" an item repeated to the end of the block.
constexpr std::pair<std::string_view, std::string_view> kLayouts[] = {
    {"point", "f f f"},
    {"vector", "f f f"},
    {"normals", "u <vector>*"},
    {"normal_idxs", "u u*"},
    {"points", "u <point>*"},
    {"uv_point", "f f"},
    {"uv_points", "u <uv_point>*"},
    {"colour", "f f f f"},
    {"colours", "u <colour>*"},
    {"image", "s"},
    {"images", "u <image>*"},
    {"texture", "u u f x?"},
    {"textures", "u <texture>*"},
    {"light_material", "x u u u u f"},
    {"light_materials", "u <light_material>*"},
    {"linear_key", "u f f f"},
    {"tcb_key", "u f f f f f f f f f"},
    {"linear_pos", "u <linear_key>*"},
    {"tcb_pos", "u <tcb_key>*"},
    {"slerp_rot", "u f f f f"},
    {"tcb_rot", "u <tcb_key|slerp_rot>*"},
    {"controllers", "u <tcb_rot|tcb_pos|linear_pos>*"},
    {"anim_node", "<controllers>"},
    {"anim_nodes", "u <anim_node>*"},
    {"animation", "u u <anim_nodes>"},
    {"animations", "u <animation>*"},
    {"lod_controls", "u <lod_control>*"},
    {"lod_control", "<distance_levels_header> <distance_levels>"},
    {"distance_levels_header", "u f?"},
    {"distance_level_header", "<dlevel_selection> <hierarchy>"},
    {"dlevel_selection", "f"},
    {"distance_levels", "u <distance_level>*"},
    {"distance_level", "<distance_level_header> <sub_objects>"},
    {"sub_objects", "u <sub_object>*"},
    {"sub_object", "<sub_object_header> <vertices> <vertex_sets> <primitives>"},
    {"sub_object_header", "x i i x x <geometry_info> <subobject_shaders>? <subobject_light_cfgs>? u?"},
    {"geometry_info", "u u u u u u u u u u <geometry_nodes> <geometry_node_map>"},
    {"geometry_nodes", "u <geometry_node>*"},
    {"geometry_node", "u u u u u <cullable_prims>"},
    {"geometry_node_map", "u i*"},
    {"cullable_prims", "u u u"},
    {"vtx_state", "x u i u x i?"},
    {"vtx_states", "u <vtx_state>*"},
    {"vertex", "x u u x x <vertex_uvs> f?"},
    {"vertex_uvs", "u u*"},
    {"vertices", "u <vertex>*"},
    {"vertex_set", "u u u"},
    {"vertex_sets", "u <vertex_set>*"},
    {"primitives", "u <prim_state_idx|indexed_trilist|indexed_line_list|point_list>*"},
    {"prim_state", "x u <tex_idxs> f i u? u? u?"},
    {"prim_states", "u <prim_state>*"},
    {"prim_state_idx", "u"},
    {"point_list", "u u"},
    {"indexed_line_list", "<vertex_idxs>"},
    {"indexed_trilist", "<vertex_idxs> <normal_idxs> <flags>"},
    {"tex_idxs", "u u*"},
    {"vertex_idxs", "u u*"},
    {"flags", "u x*"},
    {"matrix", "f f f f f f f f f f f f"},
    {"matrices", "u <matrix>*"},
    {"hierarchy", "u i*"},
    {"volumes", "u <vol_sphere>*"},
    {"vol_sphere", "<vector> f"},
    {"shape_header", "x x?"},
    {"shape",
     "<shape_header> <volumes> <shader_names> <texture_filter_names> <points> <uv_points> <normals> "
     "<sort_vectors> <colours> <matrices> <images> <textures> <light_materials> <light_model_cfgs> <vtx_states> "
     "<prim_states> <lod_controls> <animations>? <shape_named_data>?"},
    {"shader_names", "u <named_shader>*"},
    {"texture_filter_names", "u <named_filter_mode>*"},
    {"sort_vectors", "u <vector>*"},
    {"light_model_cfgs", "u <light_model_cfg>*"},
    {"light_model_cfg", "x <uv_ops>"},
    {"uv_ops",
     "u <uvop_copy|uv_op_share|uv_op_copy|uv_op_uniformscale|uv_op_user_uninformscale|uv_op_nonuniformscale|"
     "uv_op_user_nonuninformscale|uv_op_transform|uv_op_user_transform|uv_op_reflectmap|uv_op_reflectmapfull|"
     "uv_op_spheremap|uv_op_spheremapfull|uv_op_specularmap|uv_op_embossbump>*"},
    {"uvop_copy", "u"},
    {"uv_op_share", "u u"},
    {"uv_op_copy", "u u"},
    {"uv_op_uniformscale", "u u f"},
    {"uv_op_nonuniformscale", "u u f f"},
    {"uv_op_transform", "u u f f f f f f"},
    {"uv_op_reflectmap", "u"},
    {"uv_op_reflectmapfull", "u"},
    {"uv_op_spheremap", "u"},
    {"uv_op_spheremapfull", "u"},
    {"uv_op_specularmap", "u"},
    {"uv_op_embossbump", "u u f"},
    {"subobject_shaders", "u u*"},
    {"subobject_light_cfgs", "u u*"},
    {"shape_named_data", "<shape_named_data_header> <shape_named_geometry>"},
    {"shape_named_data_header", "u"},
    {"shape_named_geometry", "s u <shape_geom_ref>*"},
    {"shape_geom_ref", "u u u u u"},
    {"named_filter_mode", "s"},
    {"named_shader", "s"},
};

std::uint16_t tokenOf(std::string_view name) {
    for (std::size_t i = 0; i < kNames.size(); ++i)
        if (kNames[i] == name) return static_cast<std::uint16_t>(i);
    throw std::logic_error("block layout names an unknown block: " + std::string(name));
}

Slot parseSlot(std::string_view word) {
    Slot slot;
    if (word.ends_with('?')) {
        slot.count = SlotCount::Optional;
        word.remove_suffix(1);
    } else if (word.ends_with('*')) {
        slot.count = SlotCount::Repeated;
        word.remove_suffix(1);
    }
    if (word.starts_with('<')) {
        slot.type = SlotType::Block;
        std::string_view names = word.substr(1, word.size() - 2);
        while (!names.empty()) {
            const std::size_t bar = names.find('|');
            slot.blocks.push_back(tokenOf(names.substr(0, bar)));
            names = bar == std::string_view::npos ? std::string_view() : names.substr(bar + 1);
        }
        return slot;
    }
    switch (word.front()) {
        case 'u': slot.type = SlotType::U32; break;
        case 'i': slot.type = SlotType::I32; break;
        case 'x': slot.type = SlotType::Hex; break;
        case 'f': slot.type = SlotType::F32; break;
        case 's': slot.type = SlotType::String; break;
        default: throw std::logic_error("block layout has an unknown item: " + std::string(word));
    }
    return slot;
}

struct Vocabulary {
    std::array<BlockRule, kNames.size()> rules;
    std::unordered_map<std::string_view, std::uint16_t> byName;

    Vocabulary() {
        for (std::size_t i = 0; i < kNames.size(); ++i) {
            rules[i].token = static_cast<std::uint16_t>(i);
            rules[i].name = kNames[i];
            byName.emplace(kNames[i], static_cast<std::uint16_t>(i));
        }
        for (const auto& [name, layout] : kLayouts) {
            BlockRule& rule = rules[tokenOf(name)];
            rule.known = true;
            std::string_view rest = layout;
            while (!rest.empty()) {
                const std::size_t space = rest.find(' ');
                rule.slots.push_back(parseSlot(rest.substr(0, space)));
                rest = space == std::string_view::npos ? std::string_view() : rest.substr(space + 1);
            }
        }
    }
};

const Vocabulary& vocabulary() {
    static const Vocabulary v;
    return v;
}

}  // namespace

const BlockRule* ruleForToken(std::uint32_t token) {
    const Vocabulary& v = vocabulary();
    return token < v.rules.size() ? &v.rules[token] : nullptr;
}

const BlockRule* ruleForName(std::string_view name) {
    const Vocabulary& v = vocabulary();
    auto it = v.byName.find(name);
    return it == v.byName.end() ? nullptr : &v.rules[it->second];
}

}  // namespace orvane::binary

#pragma once
// The vocabulary of shape blocks the checks and repairs rely on: block
// names, and small accessors that read a value of a block as the number it
// stands for. Positions are 1-based ("value n", "child i"); references
// between blocks are 0-based numbers (number k is child k + 1).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "document/cls_reader.h"
#include "document/numbers.h"
#include "document/value_errors.h"

namespace orvane::blocks {

inline constexpr std::string_view points = "points";
inline constexpr std::string_view vtx_states = "vtx_states";
inline constexpr std::string_view prim_states = "prim_states";
inline constexpr std::string_view lod_controls = "lod_controls";
inline constexpr std::string_view lod_control = "lod_control";
inline constexpr std::string_view distance_levels = "distance_levels";
inline constexpr std::string_view distance_level = "distance_level";
inline constexpr std::string_view distance_level_header = "distance_level_header";
inline constexpr std::string_view dlevel_selection = "dlevel_selection";
inline constexpr std::string_view sub_objects = "sub_objects";
inline constexpr std::string_view sub_object = "sub_object";
inline constexpr std::string_view sub_object_header = "sub_object_header";
inline constexpr std::string_view geometry_info = "geometry_info";
inline constexpr std::string_view geometry_nodes = "geometry_nodes";
inline constexpr std::string_view geometry_node_map = "geometry_node_map";
inline constexpr std::string_view cullable_prims = "cullable_prims";
inline constexpr std::string_view vertices = "vertices";
inline constexpr std::string_view vertex_sets = "vertex_sets";
inline constexpr std::string_view primitives = "primitives";
inline constexpr std::string_view prim_state_idx = "prim_state_idx";
inline constexpr std::string_view indexed_trilist = "indexed_trilist";
inline constexpr std::string_view vertex_idxs = "vertex_idxs";
inline constexpr std::string_view normal_idxs = "normal_idxs";
inline constexpr std::string_view animations = "animations";
inline constexpr std::string_view animation = "animation";
inline constexpr std::string_view anim_nodes = "anim_nodes";
inline constexpr std::string_view controllers = "controllers";

// Value n of block as a whole number (see toWholeNumber). Throws ShapeError
// naming the block, the position and the text when there is no value n or
// it is not a whole number in the 32-bit range.
std::int32_t wholeValue(const clsReader& block, std::size_t n);
// block.Find(name), or ShapeError saying which block lacks which child.
const NodePtr requireChild(const clsReader& block, std::string_view name);
// Child (number + 1) of block for a 0-based reference `number`, or
// ShapeError saying that the number lies outside the block's children.
const NodePtr& numbered(const clsReader& block, std::int64_t number, std::string_view what);

// --- values a check needs, with problem messages that say where ----------
// `what` names the value ("the face count"); `place` is a callable giving
// the block's place in words ("primitive 2 of sub-object 3 of LOD 0", or
// empty), only called when a message is made (see value_errors.h).

template <class Place>
std::string_view textValue(const clsReader& block, std::size_t n, std::string_view what, const Place& place) {
    const StringList& values = block.Strings();
    if (n < 1 || n > values.size()) throwMissingValue(block, n, what, place());
    return values[n - 1].view();
}

template <class Place>
std::int32_t wholeValue(const clsReader& block, std::size_t n, std::string_view what, const Place& place) {
    auto number = toWholeNumber(textValue(block, n, what, place));
    if (!number) throwBadValue(block, n, what, place(), kWholeExpected);
    return *number;
}

}  // namespace orvane::blocks

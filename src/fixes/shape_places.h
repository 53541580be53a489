#pragma once
// Where a block stands in the LOD hierarchy, in words for problem messages:
// "sub-object 3 of LOD 0", "primitive 2 of sub-object 3 of LOD 0". LODs,
// sub-objects and primitives are numbered from 0 in the order of their
// distance_level, sub_object and indexed_trilist blocks. Worked out only
// when a message is made, so the walk costs nothing on well-formed shapes.

#include <cstdint>
#include <string>

#include "document/cls_reader.h"

namespace orvane {

// The LOD of a distance_level node.
std::string lodPlace(const clsReader& level);
// The sub-object (and its LOD) for a sub_object node.
std::string subObjectPlace(const clsReader& subObject);
// The sub-object of a block that stands directly in one (vertices, primitives).
std::string ownerSubObjectPlace(const clsReader& block);
// An indexed_trilist with its number, in its sub-object.
std::string primitivePlace(const clsReader& trilist, std::int32_t primitiveNumber);

}  // namespace orvane

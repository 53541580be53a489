#pragma once
// A finding of the run with its place in the shape: what the report says
// by numbers (an oversize primitive or sub-object, a sub-object left
// undivided, a short edge, a sub-object whose vertices overflow 16-bit
// indices) and what kept triangles from being placed.
//
// Places are numbered as the report numbers them: LODs, sub-objects and
// primitives from 0 in the order of their distance_level, sub_object and
// indexed_trilist blocks; triangles by the report's Poly number (the k-th
// triangle of a list is k + 1).

#include <cstdint>
#include <string>

#include "geometry/geometry_fault.h"
#include "geometry/vec3.h"

namespace orvane::geometry {

enum class FindingKind : unsigned char {
    OversizePrimitive,   // count = its faces
    OversizeSubObject,   // count = its polygons
    UndividedSubObject,  // oversize, and no division within the limit exists
    ShortEdge,           // corners a and b, in the shape's frame when placed
    VertexOverflow,      // count = its vertices, more than 65535
    GeometryFault,       // fault; count = triangles left out (0: a whole level or block)
    // Only with a repair trace (the repaired tree):
    SplitPiece,        // a primitive a split made or kept: count = its part number, pieces = the split's parts
    DividedSubObject,  // a sub-object a division inserted
};

inline constexpr std::int32_t kNoPlace = -1;

struct PlacedFinding {
    FindingKind kind = FindingKind::GeometryFault;
    FaultKind fault = FaultKind::MissingBlock;  // GeometryFault only
    std::int32_t lod = kNoPlace;
    std::int32_t subObject = kNoPlace;
    std::int32_t primitive = kNoPlace;
    std::int32_t polyNumber = kNoPlace;  // the triangle (first one for a fault)
    // SplitPiece: the parts of its split, the kept one included, and the
    // split's number in the trace (splits numbered from 0 as they were made).
    std::int32_t pieces = 0;
    std::int64_t count = 0;
    // ShortEdge: the vertex numbers of its two corners as the report names
    // them, and the corners placed in the shape's frame (placed false when
    // the triangle could not be placed).
    std::int32_t vertexA = kNoPlace;
    std::int32_t vertexB = kNoPlace;
    bool placed = false;
    std::int32_t split = kNoPlace;  // SplitPiece only, see pieces
    Vec3f a, b;
};

// One line naming the finding and its place, for lists and logs:
// "short edge 1.2 mm, LOD 0, sub-object 3, primitive 2, triangle 1744",
// "piece 2 of 5 of a split primitive, LOD 0, sub-object 1, primitive 3".
std::string describe(const PlacedFinding& finding);

}  // namespace orvane::geometry

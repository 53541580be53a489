#pragma once
// What keeps a triangle from being placed in space: a reference between
// blocks that names nothing, a loop in the matrix hierarchy, a value that is
// no number, a position that is not finite.

#include <string>

namespace orvane::geometry {

enum class FaultKind : unsigned char {
    MissingBlock,         // a block the placing needs is absent
    BadValue,             // a value that should be a number is not one
    VertexOutOfRange,     // a vertex number beyond the sub-object's vertices
    PointOutOfRange,      // a vertex's point number beyond the shape's points
    NormalOutOfRange,     // a vertex's normal number beyond the shape's normals
    PrimStateOutOfRange,  // a prim_state_idx beyond the shape's prim_states
    VtxStateOutOfRange,   // a prim_state's vtx_state beyond the shape's vtx_states
    MatrixOutOfRange,     // a vtx_state's matrix beyond the shape's matrices
    ParentOutOfRange,     // a hierarchy parent that is no matrix, or no entry for a matrix
    ParentLoop,           // the hierarchy leads from a matrix back to itself
    NotFinite,            // a coordinate or matrix that is not a finite number
    IndicesMissing,       // vertex_idxs holds fewer indices than its count
};

// A short phrase for the kind: "point number out of range".
std::string faultText(FaultKind kind);

}  // namespace orvane::geometry

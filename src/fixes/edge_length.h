#pragma once
// The squared length of a triangle edge as the small-edge check measures
// it, shared with whatever must find the same short edges.

#include "fixes/corner_reader.h"

namespace orvane {

// dx, dy, dz in single precision; their exact squares summed in double in
// the order y, x, z and rounded to single once.
inline float squaredEdgeLength(const PointXyz& a, const PointXyz& b) {
    const float dx = a.x - b.x;
    const float dy = a.y - b.y;
    const float dz = a.z - b.z;
    const double sum = static_cast<double>(dy) * dy + static_cast<double>(dx) * dx + static_cast<double>(dz) * dz;
    return static_cast<float>(sum);
}

// An edge is short when its squared length is below the limit; equal is fine.
inline bool isShortEdge(float squaredLength, float minEdgeSqr) { return squaredLength < minEdgeSqr; }

}  // namespace orvane

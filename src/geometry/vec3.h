#pragma once
// A position in the shape's frame, in metres: y up, z forward, x across.

namespace orvane::geometry {

struct Vec3f {
    float x = 0;
    float y = 0;
    float z = 0;
};

}  // namespace orvane::geometry

#pragma once
// Where the shape is seen from: a perspective or orthographic camera that
// takes a point of the shape's frame to pixel coordinates (x right, y down)
// and a depth key (larger is nearer). Computed in double with nothing but
// +, -, *, / and sqrt, so that every system gives the same numbers.

#include <cstdint>

#include "geometry/lod_geometry.h"
#include "geometry/vec3.h"

namespace orvane::picture {

enum class ViewKind { Iso, Front, Side, Top };

// tan of half the iso view's field of view (about 33 degrees in all).
inline constexpr double kIsoHalfFieldTan = 0.3;

struct Vec3d {
    double x = 0, y = 0, z = 0;
};

struct Camera {
    bool perspective = false;
    // An orthonormal basis in the shape's frame: right, up, and forward
    // (into the picture); eye is the viewpoint (perspective only).
    Vec3d right{1, 0, 0}, up{0, 1, 0}, forward{0, 0, 1}, eye{};
    // Pixels per unit of (right, up) / depth (perspective) or per metre
    // (orthographic), and the pixel the view's axis meets.
    double scale = 1;
    double centreX = 0, centreY = 0;
    double nearest = 1e-3;  // perspective: points nearer than this are not drawn

    struct Projected {
        double x, y;   // pixels
        double depth;  // larger is nearer
        bool visible;
    };
    Projected project(const geometry::Vec3f& p) const;
};

// The camera of a view, fitted to the LOD's triangles with a margin of 5 %
// of the larger picture side. Iso is a perspective three-quarter view from
// front right above; front looks along z, side along x, top along y (down).
Camera fittedCamera(const geometry::LodGeometry& lod, ViewKind view, int width, int height);

// sin and cos of an angle in radians from a fixed polynomial: the same
// result on every system (for cameras turned by hand).
void fixedSinCos(double radians, double& sine, double& cosine);

}  // namespace orvane::picture

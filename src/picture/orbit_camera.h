#pragma once
// A camera turned by hand round a target point: it looks at the target
// from `distance` away, from a direction given by yaw (round the vertical)
// and pitch (above the horizontal). Perspective with the iso view's field
// of view, fitted to the smaller side of the picture. Computed with +, -,
// *, /, sqrt and fixedSinCos only, so a picture is the same everywhere.

#include <cstdint>

#include "geometry/lod_geometry.h"
#include "geometry/placed_finding.h"
#include "geometry/vec3.h"
#include "picture/camera.h"

namespace orvane::picture {

// An axis-aligned box round points; points that are not finite are left out.
struct Bounds {
    Vec3d lo, hi;
    bool empty = true;
    void add(const geometry::Vec3f& p);
};

// All corners of the LOD.
Bounds boundsOf(const geometry::LodGeometry& lod);
// A short edge: its two corners (when placed); an oversize primitive: its
// triangles' corners; a sub-object finding: its sub-object's; else empty.
Bounds boundsOf(const geometry::LodGeometry& lod, const geometry::PlacedFinding& finding);
// The corners of the triangles of a sub-object, or of one of its primitives
// (primitive kNoPlace: the whole sub-object).
Bounds boundsOfPlace(const geometry::LodGeometry& lod, std::int32_t subObject, std::int32_t primitive);

class OrbitCamera {
public:
    // The whole of b in view from the iso view's direction (empty b: a
    // metre round the origin).
    void fit(const Bounds& b);
    // The same, then nearer and recentred so that b's box fills a picture of
    // that size less a margin of 5 % of its larger side, as far as the
    // perspective allows (the eye stays outside b's bounding sphere).
    void fit(const Bounds& b, int width, int height);
    // Keeps the direction and centres b, at a distance at which b takes
    // about a third of the view; b is taken as at least a centimetre across.
    // An empty b changes nothing.
    void frame(const Bounds& b);
    // Turns round the target: yaw by dx, pitch by dy (dragging right turns
    // the shape to the right, dragging down tips its top toward the viewer);
    // pitch stays short of straight up and down.
    void orbit(double dxPixels, double dyPixels);
    // Moves the view so that what lies on the target's plane follows the
    // cursor.
    void pan(double dxPixels, double dyPixels, int width, int height);
    // Wheel steps (+ is nearer, one step about 15 %), toward the point under
    // pixel (x, y) on the target's plane, which stays under that pixel.
    void zoomAt(double steps, double x, double y, int width, int height);

    // The camera for a picture of that size.
    Camera camera(int width, int height) const;

    const Vec3d& target() const { return target_; }
    double distance() const { return distance_; }
    double yaw() const { return yaw_; }
    double pitch() const { return pitch_; }

private:
    // Until fitted: the iso view of a metre round the origin.
    Vec3d target_{};
    double distance_ = 3.48;
    double yaw_ = 0.7853981633974483, pitch_ = 0.5235987755982988;  // radians
};

}  // namespace orvane::picture

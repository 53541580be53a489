// The camera turned by hand: fitting, framing, orbiting, panning and zooming
// keep what they promise on the picture.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "picture/orbit_camera.h"

namespace orvane::picture {
namespace {

constexpr int kWidth = 640, kHeight = 360;

Bounds box(geometry::Vec3f lo, geometry::Vec3f hi) {
    Bounds b;
    b.add(lo);
    b.add(hi);
    return b;
}

std::vector<geometry::Vec3f> cornersOf(const Bounds& b) {
    std::vector<geometry::Vec3f> corners;
    for (int i = 0; i < 8; ++i)
        corners.push_back({static_cast<float>(i & 1 ? b.hi.x : b.lo.x), static_cast<float>(i & 2 ? b.hi.y : b.lo.y),
                           static_cast<float>(i & 4 ? b.hi.z : b.lo.z)});
    return corners;
}

geometry::Vec3f toFloat(const Vec3d& p) {
    return {static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z)};
}

// The point of the target's plane that the camera shows at pixel (x, y).
geometry::Vec3f onTargetPlane(const OrbitCamera& orbit, double x, double y) {
    const Camera c = orbit.camera(kWidth, kHeight);
    const double u = (x - c.centreX) / c.scale * orbit.distance(), v = -(y - c.centreY) / c.scale * orbit.distance();
    const Vec3d& t = orbit.target();
    return toFloat({t.x + c.right.x * u + c.up.x * v, t.y + c.right.y * u + c.up.y * v, t.z + c.right.z * u + c.up.z * v});
}

void expectAtPixel(const Camera& c, const geometry::Vec3f& p, double x, double y, double tolerance) {
    const Camera::Projected q = c.project(p);
    ASSERT_TRUE(q.visible);
    EXPECT_NEAR(q.x, x, tolerance);
    EXPECT_NEAR(q.y, y, tolerance);
}

const Bounds kWagon = box({-1.5f, 0, -10}, {1.5f, 4.2f, 10});

TEST(OrbitCamera, FitPutsEveryCornerInsideThePicture) {
    OrbitCamera orbit;
    orbit.fit(kWagon);
    const Camera c = orbit.camera(kWidth, kHeight);
    for (const geometry::Vec3f& p : cornersOf(kWagon)) {
        const Camera::Projected q = c.project(p);
        ASSERT_TRUE(q.visible);
        EXPECT_TRUE(q.x >= 0 && q.x <= kWidth && q.y >= 0 && q.y <= kHeight) << q.x << ", " << q.y;
    }
}

TEST(OrbitCamera, FitToThePictureFillsItLessTheMargin) {
    const Bounds rail = box({-0.8f, 0, -12}, {0.8f, 0.2f, 12});  // long and thin: a sphere fit leaves it small
    OrbitCamera orbit;
    orbit.fit(rail, kWidth, kHeight);
    const Camera c = orbit.camera(kWidth, kHeight);
    const double margin = 0.05 * kWidth;
    double minX = kWidth, maxX = 0, minY = kHeight, maxY = 0;
    for (const geometry::Vec3f& p : cornersOf(rail)) {
        const Camera::Projected q = c.project(p);
        ASSERT_TRUE(q.visible);
        minX = std::min(minX, q.x), maxX = std::max(maxX, q.x), minY = std::min(minY, q.y), maxY = std::max(maxY, q.y);
    }
    EXPECT_GE(minX, margin - 1);
    EXPECT_LE(maxX, kWidth - margin + 1);
    EXPECT_GE(minY, margin - 1);
    EXPECT_LE(maxY, kHeight - margin + 1);
    // One side of the box reaches the margins on both ends.
    EXPECT_TRUE(maxX - minX > kWidth - 2 * margin - 4 || maxY - minY > kHeight - 2 * margin - 4)
        << minX << " " << maxX << " " << minY << " " << maxY;
}

TEST(OrbitCamera, FitLooksFromTheIsoDirection) {
    OrbitCamera orbit;
    orbit.fit(kWagon);
    geometry::LodGeometry lod;
    lod.corners = cornersOf(kWagon);
    const Camera iso = fittedCamera(lod, ViewKind::Iso, kWidth, kHeight), c = orbit.camera(kWidth, kHeight);
    EXPECT_NEAR(c.forward.x, iso.forward.x, 1e-12);
    EXPECT_NEAR(c.forward.y, iso.forward.y, 1e-12);
    EXPECT_NEAR(c.forward.z, iso.forward.z, 1e-12);
    EXPECT_NEAR(c.right.x, iso.right.x, 1e-12);
    EXPECT_NEAR(c.up.y, iso.up.y, 1e-12);
}

TEST(OrbitCamera, FrameCentresASmallBoxAndShowsItsSurroundings) {
    OrbitCamera orbit;
    orbit.fit(kWagon);
    const Bounds part = box({0.5f, 1, 3}, {0.7f, 1.1f, 3.2f});
    orbit.frame(part);
    const Camera c = orbit.camera(kWidth, kHeight);
    expectAtPixel(c, {0.6f, 1.05f, 3.1f}, kWidth / 2.0, kHeight / 2.0, 1e-3);
    double minX = kWidth, maxX = 0;
    for (const geometry::Vec3f& p : cornersOf(part)) {
        const Camera::Projected q = c.project(p);
        minX = std::min(minX, q.x), maxX = std::max(maxX, q.x);
    }
    EXPECT_GT(maxX - minX, kHeight / 6.0);
    EXPECT_LT(maxX - minX, kHeight / 2.0);
}

TEST(OrbitCamera, FrameOfAMillimetreEdgeShowsCentimetres) {
    OrbitCamera orbit;
    orbit.frame(box({2, 1, 0}, {2.001f, 1, 0}));
    const Camera c = orbit.camera(kWidth, kHeight);
    expectAtPixel(c, {2.0005f, 1, 0}, kWidth / 2.0, kHeight / 2.0, 1e-3);
    // The edge is seen, a few pixels long, with its surroundings.
    const double length = c.project({2.001f, 1, 0}).x - c.project({2, 1, 0}).x;
    EXPECT_GT(std::fabs(length), 2);
    EXPECT_LT(std::fabs(length), kHeight / 6.0);
}

TEST(OrbitCamera, EmptyOrFlatBoundsGiveAFiniteCamera) {
    for (const Bounds& b : {Bounds{}, box({1, 1, 1}, {1, 1, 1})}) {
        OrbitCamera orbit;
        orbit.fit(b);
        orbit.frame(b);
        orbit.zoomAt(1000, 0, 0, 0, 0);
        const Camera c = orbit.camera(0, 0);
        EXPECT_TRUE(std::isfinite(c.eye.x + c.eye.y + c.eye.z + c.scale + c.nearest));
        EXPECT_GT(c.nearest, 0);
    }
}

TEST(OrbitCamera, OrbitKeepsTheTargetAtTheCentre) {
    OrbitCamera orbit;
    orbit.fit(kWagon);
    orbit.orbit(250, -70);
    expectAtPixel(orbit.camera(kWidth, kHeight), toFloat(orbit.target()), kWidth / 2.0, kHeight / 2.0, 1e-6);
}

TEST(OrbitCamera, PitchStopsShortOfStraightUpAndDown) {
    OrbitCamera orbit;
    for (double dy : {1e6, -1e6}) {
        orbit.orbit(0, dy);
        const Camera c = orbit.camera(kWidth, kHeight);
        EXPECT_GT(std::fabs(c.forward.x) + std::fabs(c.forward.z), 1e-3);
        EXPECT_LT(std::fabs(orbit.pitch()), 1.5707963267948966);
    }
}

TEST(OrbitCamera, PanMovesThePlaneUnderTheCursorWithIt) {
    OrbitCamera orbit;
    orbit.fit(kWagon);
    orbit.orbit(40, 25);
    const geometry::Vec3f grabbed = onTargetPlane(orbit, 100, 300);
    orbit.pan(35, -60, kWidth, kHeight);
    expectAtPixel(orbit.camera(kWidth, kHeight), grabbed, 135, 240, 1e-2);
}

TEST(OrbitCamera, ZoomAtKeepsThePointUnderTheCursor) {
    OrbitCamera orbit;
    orbit.fit(kWagon);
    const geometry::Vec3f under = onTargetPlane(orbit, 500, 80);
    const double before = orbit.distance();
    orbit.zoomAt(3, 500, 80, kWidth, kHeight);
    expectAtPixel(orbit.camera(kWidth, kHeight), under, 500, 80, 1e-2);
    EXPECT_NEAR(orbit.distance() / before, 0.85 * 0.85 * 0.85, 1e-9);
    orbit.zoomAt(-3, 500, 80, kWidth, kHeight);
    EXPECT_NEAR(orbit.distance(), before, 1e-9 * before);
}

TEST(OrbitCamera, BoundsOfAFindingAreItsShortEdgeOrItsPartsCorners) {
    geometry::LodGeometry lod;
    lod.corners = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {5, 5, 5}, {6, 5, 5}, {5, 7, 5}};
    lod.primitives = {{0, 0, 0, 0, geometry::kNoPlace, 0, 2}, {0, 1, 0, 0, geometry::kNoPlace, 1, 2}};
    lod.triangles = {{{0, 1, 2}}, {{3, 4, 5}}};
    geometry::PlacedFinding primitive;
    primitive.kind = geometry::FindingKind::OversizePrimitive;
    primitive.subObject = 0, primitive.primitive = 1;
    const Bounds b = boundsOf(lod, primitive);
    EXPECT_TRUE(!b.empty && b.lo.x == 5 && b.hi.x == 6 && b.hi.y == 7);
    geometry::PlacedFinding edge;
    edge.kind = geometry::FindingKind::ShortEdge;
    edge.placed = true, edge.a = {1, 2, 3}, edge.b = {1, 2, 3.001f};
    EXPECT_EQ(boundsOf(lod, edge).hi.z, 3.001f);
    EXPECT_EQ(boundsOfPlace(lod, 0, geometry::kNoPlace).hi.y, 7);
    geometry::PlacedFinding fault;
    EXPECT_TRUE(boundsOf(lod, fault).empty);
}

}  // namespace
}  // namespace orvane::picture

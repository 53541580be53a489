#include "picture/orbit_camera.h"

#include <algorithm>
#include <cmath>

namespace orvane::picture {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kIsoYaw = kPi / 4, kIsoPitch = kPi / 6;  // the iso view: 45 degrees round, 30 above
constexpr double kMaxPitch = kPi / 2 - 0.02;              // about a degree short of straight up or down
constexpr double kRadiansPerPixel = 0.01;
constexpr double kMinRadius = 0.005;     // a box is taken as at least a centimetre across
constexpr double kFrameShare = 3;        // frame: the view is about three times the box
constexpr double kNearPerDistance = 1e-3;
constexpr double kMinDistance = 1e-4, kMaxDistance = 1e30;
constexpr double kLogStep = -0.16251892949777494;  // ln 0.85: one wheel step nearer
constexpr double kMaxSteps = 40;

Vec3d plus(const Vec3d& a, const Vec3d& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec3d minus(const Vec3d& a, const Vec3d& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec3d times(const Vec3d& a, double s) { return {a.x * s, a.y * s, a.z * s}; }

struct Basis {
    Vec3d right, up, forward;
};

// The target is seen from (cos p sin y, sin p, cos p cos y) away; at the
// iso view's angles this is that view's basis, left-handed like it.
Basis basisOf(double yaw, double pitch) {
    double sy = 0, cy = 1, sp = 0, cp = 1;
    fixedSinCos(yaw, sy, cy);
    fixedSinCos(pitch, sp, cp);
    return {{-cy, 0, sy}, {-sy * sp, cp, -cy * sp}, {-cp * sy, -sp, -cp * cy}};
}

// e^x for |x| up to a few tens: halved below 1/16, a Taylor series, squared back.
double fixedExp(double x) {
    int halvings = 0;
    while (std::fabs(x) > 0.0625 && halvings < 64) x /= 2, ++halvings;
    double sum = 1, term = 1;
    for (int n = 1; n <= 12; ++n) {
        term *= x / n;
        sum += term;
    }
    while (halvings-- > 0) sum *= sum;
    return sum;
}

// Pixels per unit of the view plane at unit depth: the field of view spans the smaller side.
double pixelScale(int width, int height) { return std::max(std::min(width, height), 1) / 2.0 / kIsoHalfFieldTan; }

Vec3d centreOf(const Bounds& b) { return times(plus(b.lo, b.hi), 0.5); }

double radiusOf(const Bounds& b) {
    const Vec3d half = times(minus(b.hi, b.lo), 0.5);
    return std::max(std::sqrt(half.x * half.x + half.y * half.y + half.z * half.z), kMinRadius);
}

// The distance at which a sphere of that radius just fills the field of view.
double fillingDistance(double radius) {
    return radius * std::sqrt(1 + kIsoHalfFieldTan * kIsoHalfFieldTan) / kIsoHalfFieldTan;
}

double clampedDistance(double d) { return std::clamp(d, kMinDistance, kMaxDistance); }

template <typename Wanted>
Bounds cornersOf(const geometry::LodGeometry& lod, Wanted wanted) {
    Bounds b;
    lod.forEachRun([&](std::size_t record, std::size_t first, std::size_t last) {
        if (!wanted(lod.primitives[record])) return;
        for (std::size_t i = first; i < last; ++i)
            for (std::uint32_t corner : lod.triangles[i].corner)
                if (corner < lod.corners.size()) b.add(lod.corners[corner]);
    });
    return b;
}

}  // namespace

void Bounds::add(const geometry::Vec3f& p) {
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return;
    if (empty) {
        lo = hi = {p.x, p.y, p.z};
        empty = false;
        return;
    }
    lo = {std::min<double>(lo.x, p.x), std::min<double>(lo.y, p.y), std::min<double>(lo.z, p.z)};
    hi = {std::max<double>(hi.x, p.x), std::max<double>(hi.y, p.y), std::max<double>(hi.z, p.z)};
}

Bounds boundsOf(const geometry::LodGeometry& lod) {
    Bounds b;
    for (const geometry::Vec3f& p : lod.corners) b.add(p);
    return b;
}

Bounds boundsOf(const geometry::LodGeometry& lod, const geometry::PlacedFinding& finding) {
    using geometry::FindingKind;
    switch (finding.kind) {
        case FindingKind::ShortEdge: {
            Bounds b;
            if (finding.placed) b.add(finding.a), b.add(finding.b);
            return b;
        }
        case FindingKind::OversizePrimitive:
        case FindingKind::SplitPiece:
            return boundsOfPlace(lod, finding.subObject, finding.primitive);
        case FindingKind::OversizeSubObject:
        case FindingKind::UndividedSubObject:
        case FindingKind::VertexOverflow:
        case FindingKind::DividedSubObject:
            return boundsOfPlace(lod, finding.subObject, geometry::kNoPlace);
        case FindingKind::GeometryFault:
            break;
    }
    return {};
}

Bounds boundsOfPlace(const geometry::LodGeometry& lod, std::int32_t subObject, std::int32_t primitive) {
    return cornersOf(lod, [&](const geometry::PrimitiveRecord& r) {
        return r.subObject == subObject && (primitive == geometry::kNoPlace || r.primitive == primitive);
    });
}

void OrbitCamera::fit(const Bounds& b) {
    yaw_ = kIsoYaw;
    pitch_ = kIsoPitch;
    target_ = b.empty ? Vec3d{} : centreOf(b);
    distance_ = clampedDistance(fillingDistance(b.empty ? 1.0 : radiusOf(b)));
}

void OrbitCamera::fit(const Bounds& b, int width, int height) {
    fit(b);
    if (b.empty || width < 1 || height < 1) return;
    const double margin = 0.05 * std::max(width, height);
    const double roomX = std::max(width - 2 * margin, 1.0), roomY = std::max(height - 2 * margin, 1.0);
    const Vec3d centre = centreOf(b);
    const double radius = radiusOf(b);
    // A few rounds: each measures the box's corners in the picture, moves the
    // target to their middle and the eye to the distance that fills the room.
    for (int round = 0; round < 8; ++round) {
        const Camera c = camera(width, height);
        double minX = 0, maxX = 0, minY = 0, maxY = 0;
        for (int k = 0; k < 8; ++k) {
            const geometry::Vec3f corner{static_cast<float>(k & 1 ? b.hi.x : b.lo.x),
                                         static_cast<float>(k & 2 ? b.hi.y : b.lo.y),
                                         static_cast<float>(k & 4 ? b.hi.z : b.lo.z)};
            const Camera::Projected q = c.project(corner);
            if (!q.visible) return;
            minX = k == 0 ? q.x : std::min(minX, q.x), maxX = k == 0 ? q.x : std::max(maxX, q.x);
            minY = k == 0 ? q.y : std::min(minY, q.y), maxY = k == 0 ? q.y : std::max(maxY, q.y);
        }
        const double need = std::max((maxX - minX) / roomX, (maxY - minY) / roomY);
        if (!std::isfinite(need) || need <= 0) return;
        const Basis basis = basisOf(yaw_, pitch_);
        const double metresPerPixel = distance_ / c.scale;
        target_ = plus(target_, plus(times(basis.right, ((minX + maxX) / 2 - c.centreX) * metresPerPixel),
                                     times(basis.up, -((minY + maxY) / 2 - c.centreY) * metresPerPixel)));
        const Vec3d off = minus(target_, centre);
        const double leastDistance = 1.05 * radius + std::sqrt(off.x * off.x + off.y * off.y + off.z * off.z);
        distance_ = clampedDistance(std::max(distance_ * need, leastDistance));
    }
}

void OrbitCamera::frame(const Bounds& b) {
    if (b.empty) return;
    target_ = centreOf(b);
    distance_ = clampedDistance(kFrameShare * fillingDistance(radiusOf(b)));
}

void OrbitCamera::orbit(double dxPixels, double dyPixels) {
    if (!std::isfinite(dxPixels) || !std::isfinite(dyPixels)) return;
    yaw_ += dxPixels * kRadiansPerPixel;
    yaw_ -= 2 * kPi * std::nearbyint(yaw_ / (2 * kPi));  // kept within half a turn
    pitch_ = std::clamp(pitch_ + dyPixels * kRadiansPerPixel, -kMaxPitch, kMaxPitch);
}

void OrbitCamera::pan(double dxPixels, double dyPixels, int width, int height) {
    if (!std::isfinite(dxPixels) || !std::isfinite(dyPixels)) return;
    const Basis basis = basisOf(yaw_, pitch_);
    const double metresPerPixel = distance_ / pixelScale(width, height);
    target_ = plus(target_, plus(times(basis.right, -dxPixels * metresPerPixel), times(basis.up, dyPixels * metresPerPixel)));
}

void OrbitCamera::zoomAt(double steps, double x, double y, int width, int height) {
    if (!std::isfinite(steps) || !std::isfinite(x) || !std::isfinite(y)) return;
    const double nearer = clampedDistance(distance_ * fixedExp(std::clamp(steps, -kMaxSteps, kMaxSteps) * kLogStep));
    const double factor = nearer / distance_;
    // The point under the pixel on the target's plane; the eye moves along
    // the line from it, so it stays under the pixel.
    const Basis basis = basisOf(yaw_, pitch_);
    const double metresPerPixel = distance_ / pixelScale(width, height);
    const Vec3d under = plus(target_, plus(times(basis.right, (x - width / 2.0) * metresPerPixel),
                                           times(basis.up, -(y - height / 2.0) * metresPerPixel)));
    target_ = plus(under, times(minus(target_, under), factor));
    distance_ = nearer;
}

Camera OrbitCamera::camera(int width, int height) const {
    const Basis basis = basisOf(yaw_, pitch_);
    Camera c;
    c.perspective = true;
    c.right = basis.right;
    c.up = basis.up;
    c.forward = basis.forward;
    c.eye = minus(target_, times(basis.forward, distance_));
    c.scale = pixelScale(width, height);
    c.centreX = width / 2.0;
    c.centreY = height / 2.0;
    c.nearest = distance_ * kNearPerDistance;
    return c;
}

}  // namespace orvane::picture

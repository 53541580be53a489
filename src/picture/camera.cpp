#include "picture/camera.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orvane::picture {

namespace {

double dot(const Vec3d& a, const Vec3d& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

void setBasis(Camera& c, ViewKind view) {
    // Each basis is left-handed like the shape's frame, so nothing is mirrored.
    switch (view) {
        case ViewKind::Front:  // from ahead, looking back along z
            c.right = {-1, 0, 0}, c.up = {0, 1, 0}, c.forward = {0, 0, -1};
            break;
        case ViewKind::Side:  // from the right, looking along -x; forward is to the right
            c.right = {0, 0, 1}, c.up = {0, 1, 0}, c.forward = {-1, 0, 0};
            break;
        case ViewKind::Top:  // from above, forward is up in the picture
            c.right = {1, 0, 0}, c.up = {0, 0, 1}, c.forward = {0, -1, 0};
            break;
        case ViewKind::Iso: {
            // From front right, 45 degrees round and 30 degrees above.
            const double c45 = std::sqrt(0.5), s30 = 0.5, c30 = std::sqrt(0.75);
            c.right = {-c45, 0, c45};
            c.up = {-c45 * s30, c30, -c45 * s30};
            c.forward = {-c45 * c30, -s30, -c45 * c30};
            c.perspective = true;
            break;
        }
    }
}

}  // namespace

Camera::Projected Camera::project(const geometry::Vec3f& p) const {
    Vec3d v{p.x - eye.x, p.y - eye.y, p.z - eye.z};
    if (!perspective) v = {p.x, p.y, p.z};
    const double cx = dot(v, right), cy = dot(v, up), cz = dot(v, forward);
    if (!perspective) return {centreX + scale * cx, centreY - scale * cy, -cz, true};
    if (!(cz >= nearest)) return {0, 0, 0, false};
    return {centreX + scale * cx / cz, centreY - scale * cy / cz, 1.0 / cz, true};
}

Camera fittedCamera(const geometry::LodGeometry& lod, ViewKind view, int width, int height) {
    Camera c;
    setBasis(c, view);
    c.centreX = width / 2.0;
    c.centreY = height / 2.0;
    if (lod.corners.empty()) return c;

    Vec3d lo{std::numeric_limits<double>::max(), std::numeric_limits<double>::max(), std::numeric_limits<double>::max()};
    Vec3d hi{-lo.x, -lo.y, -lo.z};
    for (const geometry::Vec3f& p : lod.corners) {
        lo = {std::min<double>(lo.x, p.x), std::min<double>(lo.y, p.y), std::min<double>(lo.z, p.z)};
        hi = {std::max<double>(hi.x, p.x), std::max<double>(hi.y, p.y), std::max<double>(hi.z, p.z)};
    }
    if (c.perspective) {
        const Vec3d centre{(lo.x + hi.x) / 2, (lo.y + hi.y) / 2, (lo.z + hi.z) / 2};
        const Vec3d half{(hi.x - lo.x) / 2, (hi.y - lo.y) / 2, (hi.z - lo.z) / 2};
        const double radius = std::max(std::sqrt(dot(half, half)), 1e-3);
        // Far enough that the bounding sphere fits in the field of view.
        const double distance = radius * std::sqrt(1 + kIsoHalfFieldTan * kIsoHalfFieldTan) / kIsoHalfFieldTan;
        c.eye = {centre.x - c.forward.x * distance, centre.y - c.forward.y * distance, centre.z - c.forward.z * distance};
        c.nearest = std::max(distance - radius, distance * 1e-3) * 0.5;
    }
    // Project at unit scale, then scale and move the picture's extent into
    // the frame less the margin.
    c.scale = 1;
    c.centreX = c.centreY = 0;
    double minX = std::numeric_limits<double>::max(), minY = minX, maxX = -minX, maxY = -minX;
    for (const geometry::Vec3f& p : lod.corners) {
        const Camera::Projected q = c.project(p);
        if (!q.visible) continue;
        minX = std::min(minX, q.x), maxX = std::max(maxX, q.x);
        minY = std::min(minY, q.y), maxY = std::max(maxY, q.y);
    }
    const double margin = 0.05 * std::max(width, height);
    const double spanX = std::max(maxX - minX, 1e-9), spanY = std::max(maxY - minY, 1e-9);
    const double room = std::max(width - 2 * margin, 1.0), roomY = std::max(height - 2 * margin, 1.0);
    c.scale = std::min(room / spanX, roomY / spanY);
    c.centreX = width / 2.0 - c.scale * (minX + maxX) / 2;
    c.centreY = height / 2.0 - c.scale * (minY + maxY) / 2;
    return c;
}

void fixedSinCos(double radians, double& sine, double& cosine) {
    // Reduced to [-pi/4, pi/4] by quarter turns (pi/2 in two parts), then
    // Taylor series to the 17th power.
    constexpr double kHalfPiHigh = 1.5707963267341256, kHalfPiLow = 6.077100506506192e-11;
    const double k = std::nearbyint(radians / (kHalfPiHigh + kHalfPiLow));
    const double r = (radians - k * kHalfPiHigh) - k * kHalfPiLow;
    const double r2 = r * r;
    double s = 1, term = 1;
    for (int n = 2; n <= 16; n += 2) {
        term *= -r2 / (n * (n + 1));
        s += term;
    }
    s *= r;
    double co = 1;
    term = 1;
    for (int n = 1; n <= 15; n += 2) {
        term *= -r2 / (n * (n + 1));
        co += term;
    }
    const long quarter = static_cast<long>(std::fmod(k, 4.0) + 4) % 4;
    switch (quarter) {
        case 0: sine = s, cosine = co; break;
        case 1: sine = co, cosine = -s; break;
        case 2: sine = -s, cosine = -co; break;
        default: sine = -co, cosine = s; break;
    }
}

}  // namespace orvane::picture

#include "picture/shape_picture.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <thread>
#include <utility>

#include "picture/raster.h"

namespace orvane::picture {

namespace {

using geometry::FindingKind;
using geometry::PlacedFinding;

constexpr double kAmbient = 0.38;
constexpr double kDiffuse = 1 - kAmbient;
constexpr int kTintPercent = 65;

Rgb mix(Rgb base, Rgb tint) {
    auto channel = [](int b, int t) { return static_cast<std::uint8_t>((b * (100 - kTintPercent) + t * kTintPercent + 50) / 100); };
    return {channel(base.r, tint.r), channel(base.g, tint.g), channel(base.b, tint.b)};
}

enum Flag : unsigned { OversizePrimitive = 1, OversizeSubObject = 2, Undivided = 4, Overflow = 8 };

// The tinted base colour of each primitive record.
std::vector<Rgb> primitiveColours(const geometry::LodGeometry& lod) {
    std::set<std::int32_t> oversizeSubs, undivided, overflow;
    std::set<std::pair<std::int32_t, std::int32_t>> oversizePrims;
    for (const PlacedFinding& f : lod.findings) {
        switch (f.kind) {
            case FindingKind::OversizePrimitive: oversizePrims.insert({f.subObject, f.primitive}); break;
            case FindingKind::OversizeSubObject: oversizeSubs.insert(f.subObject); break;
            case FindingKind::UndividedSubObject: undivided.insert(f.subObject); break;
            case FindingKind::VertexOverflow: overflow.insert(f.subObject); break;
            default: break;
        }
    }
    std::vector<Rgb> out;
    out.reserve(lod.primitives.size());
    for (const geometry::PrimitiveRecord& p : lod.primitives) {
        Rgb c = primStateColour(p.primState);
        if (p.piece > 0) c = mix(c, p.piece % 2 == 1 ? colours::kSplitPieceOdd : colours::kSplitPieceEven);
        else if (oversizePrims.count({p.subObject, p.primitive})) c = mix(c, colours::kOversizePrimitive);
        else if (undivided.count(p.subObject)) c = mix(c, colours::kUndividedSubObject);
        else if (oversizeSubs.count(p.subObject)) c = mix(c, colours::kOversizeSubObject);
        else if (overflow.count(p.subObject)) c = mix(c, colours::kVertexOverflow);
        out.push_back(c);
    }
    return out;
}

Vec3d unit(Vec3d v) {
    const double n = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return {v.x / n, v.y / n, v.z / n};
}

ScreenCorner snapped(const Camera::Projected& q) {
    ScreenCorner c;
    constexpr double kFar = 1e12;
    if (!q.visible || !(std::fabs(q.x) < kFar) || !(std::fabs(q.y) < kFar) || !std::isfinite(q.depth)) return c;
    c.x = static_cast<std::int64_t>(std::floor(q.x * kSubPixel + 0.5));
    c.y = static_cast<std::int64_t>(std::floor(q.y * kSubPixel + 0.5));
    c.depth = static_cast<float>(q.depth);
    c.visible = true;
    return c;
}

std::uint8_t shade(std::uint8_t channel, double intensity) {
    return static_cast<std::uint8_t>(std::min(255.0, std::floor(channel * intensity + 0.5)));
}

// Whether a drawn triangle belongs to the selected finding's place.
bool selects(const PlacedFinding& f, const geometry::PrimitiveRecord& p) {
    if (f.subObject == geometry::kNoPlace || p.subObject != f.subObject) return false;
    return f.primitive == geometry::kNoPlace || p.primitive == f.primitive;
}

void outlineSelection(const geometry::LodGeometry& lod, const PlacedFinding& f, Image& image) {
    if (f.kind == FindingKind::ShortEdge || f.subObject == geometry::kNoPlace) return;
    // Which triangles are the finding's, then which pixels.
    std::vector<unsigned char> chosen(lod.triangles.size(), 0);
    lod.forEachRun([&](std::size_t record, std::size_t first, std::size_t last) {
        if (selects(f, lod.primitives[record])) std::fill(chosen.begin() + std::ptrdiff_t(first), chosen.begin() + std::ptrdiff_t(last), 1);
    });
    const std::size_t n = image.ids.size();
    std::vector<unsigned char> member(n, 0);
    for (std::size_t p = 0; p < n; ++p) {
        const std::uint32_t id = image.ids[p];
        member[p] = id != kNoTriangle && chosen[id];
    }
    const int w = image.width, h = image.height;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::size_t p = static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x);
            const bool in = member[p];
            const bool edge = (x > 0 && member[p - 1] != in) || (x + 1 < w && member[p + 1] != in) ||
                              (y > 0 && member[p - static_cast<std::size_t>(w)] != in) ||
                              (y + 1 < h && member[p + static_cast<std::size_t>(w)] != in);
            if (!edge) continue;
            std::uint8_t* out = &image.rgba[p * 4];
            out[0] = colours::kSelection.r, out[1] = colours::kSelection.g, out[2] = colours::kSelection.b, out[3] = 255;
        }
}

}  // namespace

Rgb primStateColour(std::int32_t primState) {
    if (primState < 0) return {168, 168, 168};
    // Hues a golden-ratio step apart, kept 40 degrees clear of red (red is
    // the short edges'); low saturation, fairly light.
    double hue = static_cast<double>(primState) * 0.6180339887498949;
    hue = (40 + (hue - std::floor(hue)) * 280) / 60;
    const double saturation = 0.32, value = 0.84;
    const int sector = static_cast<int>(hue) % 6;
    const double f = hue - std::floor(hue);
    const double p = value * (1 - saturation), q = value * (1 - saturation * f), t = value * (1 - saturation * (1 - f));
    double r = value, g = t, b = p;
    switch (sector) {
        case 0: r = value, g = t, b = p; break;
        case 1: r = q, g = value, b = p; break;
        case 2: r = p, g = value, b = t; break;
        case 3: r = p, g = q, b = value; break;
        case 4: r = t, g = p, b = value; break;
        default: r = value, g = p, b = q; break;
    }
    auto byte = [](double v) { return static_cast<std::uint8_t>(std::floor(v * 255 + 0.5)); };
    return {byte(r), byte(g), byte(b)};
}

int drawingThreads() {
    const unsigned cores = std::thread::hardware_concurrency();
    return static_cast<int>(std::clamp(cores, 1u, 8u));
}

Image drawLod(const geometry::LodGeometry& lod, const Camera& camera, int width, int height, const DrawOptions& options) {
    Image image(width, height);
    for (std::size_t p = 0; p < image.ids.size(); ++p) {
        std::uint8_t* out = &image.rgba[p * 4];
        out[0] = colours::kBackground.r, out[1] = colours::kBackground.g, out[2] = colours::kBackground.b, out[3] = 255;
    }
    const int threads = std::max(1, options.threads);

    std::vector<ScreenCorner> corners(lod.corners.size());
    inParts(corners.size(), threads, [&](std::size_t first, std::size_t last) {
        for (std::size_t i = first; i < last; ++i) corners[i] = snapped(camera.project(lod.corners[i]));
    });

    // The light comes from the viewer's upper right.
    const Vec3d light = unit({0.35 * camera.right.x + 0.55 * camera.up.x - camera.forward.x,
                              0.35 * camera.right.y + 0.55 * camera.up.y - camera.forward.y,
                              0.35 * camera.right.z + 0.55 * camera.up.z - camera.forward.z});
    const std::vector<Rgb> base = primitiveColours(lod);
    std::vector<Rgb> shaded(lod.triangles.size());
    inParts(shaded.size(), threads, [&](std::size_t first, std::size_t last) {
        if (first >= last) return;
        // The records' runs follow the triangles' order: walk along them.
        std::size_t record = lod.recordOf(first);
        for (std::size_t i = first; i < last; ++i) {
            while (record + 1 < lod.primitives.size() && lod.primitives[record + 1].firstTriangle <= i) ++record;
            const geometry::PlacedTriangle& t = lod.triangles[i];
            const geometry::Vec3f& a = lod.corners[t.corner[0]];
            const geometry::Vec3f& b = lod.corners[t.corner[1]];
            const geometry::Vec3f& c = lod.corners[t.corner[2]];
            const Vec3d u{double(b.x) - a.x, double(b.y) - a.y, double(b.z) - a.z};
            const Vec3d v{double(c.x) - a.x, double(c.y) - a.y, double(c.z) - a.z};
            const Vec3d n{u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
            const double length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
            double intensity = kAmbient;
            if (length > 0 && std::isfinite(length))
                intensity += kDiffuse * std::fabs(n.x * light.x + n.y * light.y + n.z * light.z) / length;
            const Rgb colour = base[record];
            shaded[i] = {shade(colour.r, intensity), shade(colour.g, intensity), shade(colour.b, intensity)};
        }
    });

    std::vector<float> depth = emptyDepth(image);
    rasterise(corners, lod.triangles, shaded, image, depth, threads);
    if (options.selected) outlineSelection(lod, *options.selected, image);

    // Short edges last, over everything, so that the tiniest is seen.
    for (const geometry::PlacedFinding& f : lod.findings) {
        if (f.kind != FindingKind::ShortEdge || !f.placed) continue;
        const Camera::Projected a = camera.project(f.a), b = camera.project(f.b);
        if (!a.visible || !b.visible) continue;
        drawLine(image, a.x, a.y, b.x, b.y, 3, colours::kShortEdge);
        drawRing(image, (a.x + b.x) / 2, (a.y + b.y) / 2, 9, 2, colours::kShortEdge);
    }
    if (const PlacedFinding* f = options.selected; f && f->kind == FindingKind::ShortEdge && f->placed) {
        const Camera::Projected a = camera.project(f->a), b = camera.project(f->b);
        if (a.visible && b.visible) drawRing(image, (a.x + b.x) / 2, (a.y + b.y) / 2, 14, 3, colours::kSelection);
    }
    return image;
}

}  // namespace orvane::picture

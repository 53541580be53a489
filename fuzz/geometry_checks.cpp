#include "geometry_checks.h"

#include <cmath>

#include "fuzz_checks.h"
#include "geometry/lod_geometry.h"
#include "picture/png_file.h"
#include "picture/shape_picture.h"

namespace orvane::fuzz {

namespace {

bool finite(const geometry::Vec3f& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

std::string lodProblem(const geometry::LodGeometry& lod) {
    for (const geometry::Vec3f& p : lod.corners)
        if (!finite(p)) return "a corner is not finite";
    for (const geometry::PlacedTriangle& t : lod.triangles)
        for (std::uint32_t c : t.corner)
            if (c >= lod.corners.size()) return "a triangle names a corner beyond the corners";
    if (!lod.triangles.empty() && (lod.primitives.empty() || lod.primitives.front().firstTriangle != 0))
        return "the first triangles belong to no record";
    for (std::size_t r = 0; r < lod.primitives.size(); ++r) {
        const geometry::PrimitiveRecord& p = lod.primitives[r];
        if (p.firstTriangle > lod.triangles.size()) return "a record starts beyond the triangles";
        if (r > 0 && p.firstTriangle < lod.primitives[r - 1].firstTriangle) return "records out of the triangles' order";
    }
    for (std::size_t i = 0; i < lod.triangles.size(); ++i)
        if (lod.tag(i).polyNumber < 2) return "a triangle numbered below 2";
    for (const geometry::PlacedFinding& f : lod.findings) {
        if (f.lod != lod.lod) return "a finding of another LOD";
        if (f.kind == geometry::FindingKind::ShortEdge && f.placed && (!finite(f.a) || !finite(f.b)))
            return "a short edge placed at a corner that is not finite";
        if (geometry::describe(f).empty()) return "a finding without words";
    }
    if (lod.findings.size() > lod.triangles.size() * 3 + lod.primitives.size() * 4 + 4 * 4096 + geometry::kMaxFaultFindings)
        return "more findings than the shape can hold";
    return {};
}

std::string pictureProblem(const geometry::LodGeometry& lod, picture::ViewKind view) {
    constexpr int kWidth = 48, kHeight = 40;
    const picture::Camera camera = picture::fittedCamera(lod, view, kWidth, kHeight);
    picture::DrawOptions options;
    if (!lod.findings.empty()) options.selected = &lod.findings.front();
    const picture::Image one = picture::drawLod(lod, camera, kWidth, kHeight, options);
    options.threads = 2;
    const picture::Image two = picture::drawLod(lod, camera, kWidth, kHeight, options);
    if (one.rgba != two.rgba || one.ids != two.ids) return "one and two threads draw different pictures";
    for (std::uint32_t id : one.ids)
        if (id != picture::kNoTriangle && id >= lod.triangles.size()) return "a pixel names a triangle beyond the triangles";
    if (picture::encodePng(one).empty()) return "the picture does not encode";
    return {};
}

}  // namespace

std::string geometryProblem(const std::filesystem::path& input) {
    NodePtr root = readTree(input);
    if (root->Nodes().empty()) return {};
    const std::int32_t lods = std::min(geometry::lodCount(*root), 4);
    for (std::int32_t n = 0; n < lods; ++n) {
        const geometry::LodGeometry lod = geometry::buildLodGeometry(*root, n, fuzzLimits());
        std::string problem = lodProblem(lod);
        if (problem.empty()) problem = pictureProblem(lod, n % 2 ? picture::ViewKind::Side : picture::ViewKind::Iso);
        if (!problem.empty()) return "LOD " + std::to_string(n) + ": " + problem;
    }
    return {};
}

}  // namespace orvane::fuzz

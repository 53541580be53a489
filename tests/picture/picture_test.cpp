// Pictures of a LOD: short edges in red where they project, the same bytes
// for any number of threads, the triangle under each pixel.

#include <gtest/gtest.h>

#include <cmath>

#include "generator/shape_generator.h"
#include "geometry/placed_shapes.h"
#include "picture/png_file.h"
#include "picture/shape_picture.h"
#include "support/shape_files.h"

namespace orvane::test {
namespace {

using namespace orvane::picture;

bool isColour(const Image& image, int x, int y, Rgb c) {
    const std::uint8_t* p = image.pixel(x, y);
    return p[0] == c.r && p[1] == c.g && p[2] == c.b;
}

TEST(Picture, AShortEdgeIsDrawnRedWhereItProjects) {
    ShapeParameters params;
    params.triangles = 600;
    params.geometryNodesPerSubObject = 1;
    params.shortEdgeFraction = 1.0 / 600;
    ShapeStats stats;
    NodePtr root = readShape(generateShapeBody(params, &stats));
    ASSERT_EQ(stats.shortEdgeTriangles, 1);
    const auto lod = geometry::buildLodGeometry(*root, 0, RunLimits{});
    ASSERT_EQ(lod.findings.size(), 1u);
    ASSERT_TRUE(lod.findings[0].placed);
    for (ViewKind view : {ViewKind::Iso, ViewKind::Side, ViewKind::Top}) {
        const Camera camera = fittedCamera(lod, view, 320, 200);
        const Image image = drawLod(lod, camera, 320, 200, DrawOptions{});
        const auto a = camera.project(lod.findings[0].a), b = camera.project(lod.findings[0].b);
        for (double s : {0.0, 0.5, 1.0}) {
            const int x = static_cast<int>(std::lround(a.x + s * (b.x - a.x)));
            const int y = static_cast<int>(std::lround(a.y + s * (b.y - a.y)));
            EXPECT_TRUE(isColour(image, x, y, colours::kShortEdge)) << x << "," << y;
        }
    }
}

TEST(Picture, OnlyShortEdgesAreRed) {
    NodePtr root = readShape(placedShape(PlacedShapeParts{}));
    RunLimits limits;
    limits.minEdgeSqr = 0;  // no short edges
    limits.maxPrimFaces = 1;
    const auto lod = geometry::buildLodGeometry(*root, 0, limits);
    const Image image = drawLod(lod, fittedCamera(lod, ViewKind::Iso, 160, 100), 160, 100, DrawOptions{});
    int drawn = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            EXPECT_FALSE(isColour(image, x, y, colours::kShortEdge));
            drawn += image.idAt(x, y) != kNoTriangle;
        }
    EXPECT_GT(drawn, 100);
}

TEST(Picture, TheSameBytesForOneTwoAndThreeThreads) {
    ShapeParameters params;
    params.triangles = 20000;
    params.subObjects = 3;
    params.shortEdgeFraction = 0.002;
    NodePtr root = readShape(generateShapeBody(params));
    const auto lod = geometry::buildLodGeometry(*root, 0, RunLimits{});
    const Camera camera = fittedCamera(lod, ViewKind::Iso, 400, 250);
    DrawOptions options;
    options.selected = &lod.findings.front();
    const Image one = drawLod(lod, camera, 400, 250, options);
    for (int threads : {2, 3}) {
        options.threads = threads;
        const Image more = drawLod(lod, camera, 400, 250, options);
        EXPECT_EQ(one.rgba, more.rgba);
        EXPECT_EQ(one.ids, more.ids);
    }
    EXPECT_EQ(encodePng(one), encodePng(drawLod(lod, camera, 400, 250, options)));
}

TEST(Picture, EachPixelNamesTheTriangleDrawnThere) {
    NodePtr root = readShape(placedShape(PlacedShapeParts{}));
    const auto lod = geometry::buildLodGeometry(*root, 0, RunLimits{});
    const Camera camera = fittedCamera(lod, ViewKind::Front, 200, 200);
    const Image image = drawLod(lod, camera, 200, 200, DrawOptions{});
    // Seen from ahead, triangles 0 and 2 stand apart; the third is a sliver.
    for (std::size_t i : {0, 2}) {
        double x = 0, y = 0;
        for (std::uint32_t c : lod.triangles[i].corner) {
            x += camera.project(lod.corners[c]).x / 3;
            y += camera.project(lod.corners[c]).y / 3;
        }
        EXPECT_EQ(image.idAt(static_cast<int>(x), static_cast<int>(y)), i);
    }
    EXPECT_EQ(image.idAt(0, 0), kNoTriangle);
}

TEST(Picture, PngStartsWithItsSignature) {
    Image image(7, 5);
    const auto png = encodePng(image);
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(std::string(png.begin(), png.begin() + 8), "\x89PNG\r\n\x1a\n");
}

TEST(Picture, FixedSinCosFollowsTheCircle) {
    for (double a = -7; a <= 7; a += 0.37) {
        double s, c;
        fixedSinCos(a, s, c);
        EXPECT_NEAR(s, std::sin(a), 1e-14);
        EXPECT_NEAR(c, std::cos(a), 1e-14);
    }
}

}  // namespace
}  // namespace orvane::test

#pragma once
// The z-buffered triangle rasteriser: flat-coloured triangles into an
// image, with the triangle index of each pixel. Corners are snapped to
// 1/16 pixel and covered by integer edge functions; the depth of a pixel
// is computed from its own position alone. So the picture is the same for
// any number of threads: each thread draws its own bands of rows, every
// triangle in index order, the nearer one winning and the earlier one a tie.

#include <cstdint>
#include <vector>

#include "geometry/lod_geometry.h"
#include "picture/image.h"
#include "picture/in_parts.h"

namespace orvane::picture {

inline constexpr int kSubPixel = 16;

struct ScreenCorner {
    std::int64_t x = 0, y = 0;  // 1/16 pixels, pixel centres at 16 k + 8
    float depth = 0;            // larger is nearer
    bool visible = false;
};

// The depth buffer, as far as anything can be.
std::vector<float> emptyDepth(const Image& image);

// Draws triangles[i] in colours[i] into image (colour, id i and depth),
// with `threads` threads (at least 1).
void rasterise(const std::vector<ScreenCorner>& corners, const std::vector<geometry::PlacedTriangle>& triangles,
               const std::vector<Rgb>& colours, Image& image, std::vector<float>& depth, int threads);

// A line from (x0, y0) to (x1, y1), in pixels, `width` pixels wide, over everything.
void drawLine(Image& image, double x0, double y0, double x1, double y1, int width, Rgb colour);
// A ring of the given radius and thickness round (x, y), over everything.
void drawRing(Image& image, double x, double y, double radius, double thickness, Rgb colour);

}  // namespace orvane::picture

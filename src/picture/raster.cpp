#include "picture/raster.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orvane::picture {

namespace {

// Rows are dealt to the threads in bands of this many, round robin.
constexpr int kBandRows = 16;
// Corners beyond this many pixels from the picture are not drawn (keeps
// the edge functions well inside 64 bits).
constexpr std::int64_t kGuard = std::int64_t{1} << 22;

struct Edge {
    std::int64_t a, b;  // E(x, y) = a * (x - x0) + b * (y - y0)
    std::int64_t x0, y0;
    std::int64_t bias;  // 0 on a top or left edge, 1 elsewhere: shared edges are drawn once

    Edge(const ScreenCorner& from, const ScreenCorner& to) {
        const std::int64_t dx = to.x - from.x, dy = to.y - from.y;
        a = -dy;
        b = dx;
        x0 = from.x;
        y0 = from.y;
        bias = (dy < 0 || (dy == 0 && dx > 0)) ? 0 : 1;
    }
    std::int64_t at(std::int64_t x, std::int64_t y) const { return a * (x - x0) + b * (y - y0); }
};

bool drawable(const ScreenCorner& c) {
    return c.visible && c.x > -kGuard * kSubPixel && c.x < kGuard * kSubPixel && c.y > -kGuard * kSubPixel &&
           c.y < kGuard * kSubPixel;
}

void drawBandRows(const std::vector<ScreenCorner>& corners, const std::vector<geometry::PlacedTriangle>& triangles,
                  const std::vector<Rgb>& colours, Image& image, std::vector<float>& depth, int thread, int threads) {
    const int width = image.width, height = image.height;
    for (std::size_t i = 0; i < triangles.size(); ++i) {
        const geometry::PlacedTriangle& t = triangles[i];
        const ScreenCorner* v[3] = {&corners[t.corner[0]], &corners[t.corner[1]], &corners[t.corner[2]]};
        // Rows first: most triangles are small and lie in another thread's band.
        const std::int64_t minY = std::min({v[0]->y, v[1]->y, v[2]->y});
        const std::int64_t maxY = std::max({v[0]->y, v[1]->y, v[2]->y});
        int rowFirst = static_cast<int>(std::max<std::int64_t>(0, (minY - kSubPixel / 2 + kSubPixel - 1) >> 4));
        const int rowLast = static_cast<int>(std::min<std::int64_t>(height - 1, (maxY - kSubPixel / 2) >> 4));
        if (rowFirst > rowLast || minY < -kGuard * kSubPixel || maxY > kGuard * kSubPixel) continue;
        if (threads > 1) {
            // The first row of this thread's bands at or after rowFirst.
            const int band = rowFirst / kBandRows;
            const int own = band + ((thread - band % threads) + threads) % threads;
            rowFirst = std::max(rowFirst, own * kBandRows);
            if (rowFirst > rowLast) continue;
        }
        if (!drawable(*v[0]) || !drawable(*v[1]) || !drawable(*v[2])) continue;
        std::int64_t area = Edge(*v[0], *v[1]).at(v[2]->x, v[2]->y);
        if (area == 0) continue;
        if (area < 0) {
            std::swap(v[1], v[2]);  // both faces are drawn
            area = -area;
        }
        const std::int64_t minX = std::min({v[0]->x, v[1]->x, v[2]->x});
        const std::int64_t maxX = std::max({v[0]->x, v[1]->x, v[2]->x});
        const int colFirst = static_cast<int>(std::max<std::int64_t>(0, (minX - kSubPixel / 2 + kSubPixel - 1) >> 4));
        const int colLast = static_cast<int>(std::min<std::int64_t>(width - 1, (maxX - kSubPixel / 2) >> 4));
        if (colFirst > colLast) continue;

        const Edge e12(*v[1], *v[2]), e20(*v[2], *v[0]), e01(*v[0], *v[1]);
        const double d0 = v[0]->depth, d1 = v[1]->depth, d2 = v[2]->depth, inverseArea = 1.0 / static_cast<double>(area);
        const Rgb colour = colours[i];
        const auto id = static_cast<std::uint32_t>(i);
        for (int row = rowFirst; row <= rowLast; ++row) {
            if (threads > 1 && (row / kBandRows) % threads != thread) {
                row = (row / kBandRows + 1) * kBandRows - 1;  // on to the next band
                continue;
            }
            const std::int64_t py = std::int64_t{row} * kSubPixel + kSubPixel / 2;
            const std::int64_t px = std::int64_t{colFirst} * kSubPixel + kSubPixel / 2;
            std::int64_t w0 = e12.at(px, py), w1 = e20.at(px, py), w2 = e01.at(px, py);
            const std::size_t rowStart = static_cast<std::size_t>(row) * static_cast<std::size_t>(width);
            for (int col = colFirst; col <= colLast; ++col) {
                if (w0 >= e12.bias && w1 >= e20.bias && w2 >= e01.bias) {
                    const double d = (static_cast<double>(w0) * d0 + static_cast<double>(w1) * d1 +
                                      static_cast<double>(w2) * d2) * inverseArea;
                    const auto key = static_cast<float>(d);
                    const std::size_t p = rowStart + static_cast<std::size_t>(col);
                    if (key > depth[p]) {
                        depth[p] = key;
                        image.ids[p] = id;
                        std::uint8_t* out = &image.rgba[p * 4];
                        out[0] = colour.r, out[1] = colour.g, out[2] = colour.b, out[3] = 255;
                    }
                }
                w0 += e12.a * kSubPixel;
                w1 += e20.a * kSubPixel;
                w2 += e01.a * kSubPixel;
            }
        }
    }
}

void put(Image& image, int x, int y, Rgb c) {
    if (x < 0 || y < 0 || x >= image.width || y >= image.height) return;
    std::uint8_t* out = &image.rgba[(static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) + static_cast<std::size_t>(x)) * 4];
    out[0] = c.r, out[1] = c.g, out[2] = c.b, out[3] = 255;
}

// Pixel coordinates far outside the picture are cut to a range that the
// integer line steps can walk.
long clampPixel(double v) { return std::lround(std::clamp(v, -65536.0, 65536.0)); }

}  // namespace

std::vector<float> emptyDepth(const Image& image) {
    return std::vector<float>(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height),
                              -std::numeric_limits<float>::infinity());
}

void rasterise(const std::vector<ScreenCorner>& corners, const std::vector<geometry::PlacedTriangle>& triangles,
               const std::vector<Rgb>& colours, Image& image, std::vector<float>& depth, int threads) {
    const int bands = (image.height + kBandRows - 1) / kBandRows;
    const int parts = std::max(1, std::min(threads, bands));
    inParts(static_cast<std::size_t>(parts), parts, [&](std::size_t first, std::size_t last) {
        for (std::size_t t = first; t < last; ++t)
            drawBandRows(corners, triangles, colours, image, depth, static_cast<int>(t), parts);
    });
}

void drawLine(Image& image, double x0, double y0, double x1, double y1, int width, Rgb colour) {
    // Bresenham between the rounded ends, each step a width x width square.
    long ax = clampPixel(x0), ay = clampPixel(y0);
    const long bx = clampPixel(x1), by = clampPixel(y1);
    const long dx = std::labs(bx - ax), dy = -std::labs(by - ay);
    const long sx = ax < bx ? 1 : -1, sy = ay < by ? 1 : -1;
    long err = dx + dy;
    const int lo = -(width - 1) / 2, hi = width / 2;
    for (;;) {
        if (ax >= -width && ay >= -width && ax < image.width + width && ay < image.height + width)
            for (int oy = lo; oy <= hi; ++oy)
                for (int ox = lo; ox <= hi; ++ox) put(image, static_cast<int>(ax + ox), static_cast<int>(ay + oy), colour);
        if (ax == bx && ay == by) break;
        const long e2 = 2 * err;
        if (e2 >= dy) err += dy, ax += sx;
        if (e2 <= dx) err += dx, ay += sy;
    }
}

void drawRing(Image& image, double x, double y, double radius, double thickness, Rgb colour) {
    const long cx = clampPixel(x), cy = clampPixel(y);
    const double outer = radius + thickness / 2, inner = radius - thickness / 2;
    const long reach = static_cast<long>(std::ceil(outer));
    for (long oy = -reach; oy <= reach; ++oy)
        for (long ox = -reach; ox <= reach; ++ox) {
            const double r2 = static_cast<double>(ox * ox + oy * oy);
            if (r2 <= outer * outer && r2 >= inner * inner) put(image, static_cast<int>(cx + ox), static_cast<int>(cy + oy), colour);
        }
}

}  // namespace orvane::picture

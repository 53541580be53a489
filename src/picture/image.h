#pragma once
// A drawn picture: RGBA pixels, rows from the top, and beside them the
// triangle drawn at each pixel (for picking what is under the cursor).

#include <cstdint>
#include <limits>
#include <vector>

namespace orvane::picture {

inline constexpr std::uint32_t kNoTriangle = std::numeric_limits<std::uint32_t>::max();

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;  // 4 bytes a pixel
    std::vector<std::uint32_t> ids;  // triangle index a pixel, kNoTriangle for background

    Image() = default;
    Image(int w, int h) : width(w), height(h), rgba(std::size_t(w) * std::size_t(h) * 4), ids(std::size_t(w) * std::size_t(h), kNoTriangle) {}
    std::uint32_t idAt(int x, int y) const { return ids[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
    const std::uint8_t* pixel(int x, int y) const { return &rgba[(std::size_t(y) * std::size_t(width) + std::size_t(x)) * 4]; }
};

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
};

}  // namespace orvane::picture

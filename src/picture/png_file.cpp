#include "picture/png_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "document/system_files.h"

#include <zlib.h>

namespace orvane::picture {
namespace {
unsigned char* deflateWithZlib(unsigned char* data, int length, int* outLength, int quality);
}
}  // namespace orvane::picture

// stb_image_write makes the PNG; zlib (which the project links anyway)
// compresses it, several times faster than stb's own deflate.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO
#define STBIW_ZLIB_COMPRESS orvane::picture::deflateWithZlib
#include <stb/stb_image_write.h>

namespace orvane::picture {

namespace {

// Pictures are mostly even areas: the fastest level loses little.
constexpr int kZlibLevel = 1;

unsigned char* deflateWithZlib(unsigned char* data, int length, int* outLength, int) {
    uLongf bound = compressBound(static_cast<uLong>(length));
    auto* out = static_cast<unsigned char*>(STBIW_MALLOC(bound));
    if (!out) return nullptr;
    if (compress2(out, &bound, data, static_cast<uLong>(length), kZlibLevel) != Z_OK) {
        STBIW_FREE(out);
        return nullptr;
    }
    *outLength = static_cast<int>(bound);
    return out;
}

void append(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<unsigned char>*>(context);
    const auto* bytes = static_cast<const unsigned char*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

}  // namespace

std::vector<unsigned char> encodePng(const Image& image) {
    std::vector<unsigned char> rgb(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) * 3);
    for (std::size_t p = 0, n = rgb.size() / 3; p < n; ++p) {
        rgb[3 * p] = image.rgba[4 * p];
        rgb[3 * p + 1] = image.rgba[4 * p + 1];
        rgb[3 * p + 2] = image.rgba[4 * p + 2];
    }
    // One filter for every row (each pixel less its left neighbour) rather
    // than trying all five per row: even areas become runs of zeros.
    stbi_write_force_png_filter = 1;
    std::vector<unsigned char> png;
    if (!stbi_write_png_to_func(append, &png, image.width, image.height, 3, rgb.data(), image.width * 3)) png.clear();
    return png;
}

bool writePngBytes(const std::vector<unsigned char>& png, const std::filesystem::path& file, std::string& problem) {
    std::filesystem::path temp = file;
    temp += ".part";
    std::error_code ignored;
    std::filesystem::remove(temp, ignored);
    std::FILE* out = detail::openNewFile(temp);
    if (!out) {
        problem = std::generic_category().message(errno);
        return false;
    }
    const bool written = std::fwrite(png.data(), 1, png.size(), out) == png.size();
    const bool closed = std::fclose(out) == 0;
    if (!written || !closed) {
        problem = "the picture could not be written completely";
        std::filesystem::remove(temp, ignored);
        return false;
    }
    try {
        detail::replaceFile(temp, file);
    } catch (const std::exception& e) {
        problem = e.what();
        std::filesystem::remove(temp, ignored);
        return false;
    }
    return true;
}

}  // namespace orvane::picture

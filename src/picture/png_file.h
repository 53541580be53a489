#pragma once
// Pictures as PNG files (through stb_image_write), RGB without alpha.

#include <filesystem>
#include <string>
#include <vector>

#include "picture/image.h"

namespace orvane::picture {

std::vector<unsigned char> encodePng(const Image& image);

// Writes the PNG of image to file, replacing an earlier file of that name
// only once the whole picture is written; false with the reason otherwise.
bool writePngFile(const Image& image, const std::filesystem::path& file, std::string& problem);

}  // namespace orvane::picture

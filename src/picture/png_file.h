#pragma once
// Pictures as PNG files (through stb_image_write), RGB without alpha.

#include <filesystem>
#include <string>
#include <vector>

#include "picture/image.h"

namespace orvane::picture {

std::vector<unsigned char> encodePng(const Image& image);

// Writes PNG bytes to file, replacing an earlier file of that name only
// once the whole picture is written; false with the reason otherwise.
bool writePngBytes(const std::vector<unsigned char>& png, const std::filesystem::path& file, std::string& problem);

}  // namespace orvane::picture

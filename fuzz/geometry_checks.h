#pragma once
// The promises of the geometry layer and the rasteriser, checked on any
// shape that reads (see fuzz_geometry.cpp and the reliability test).

#include <filesystem>
#include <string>

namespace orvane::fuzz {

// For the file at input: every LOD of the tree as read (the first four)
// gives triangles whose corners, primitive records and findings are within
// their lists and finite; its picture at a small size, in two views, has
// the same bytes for one and two threads, and every pixel names a drawn
// triangle or none. Empty when all hold, else the first broken promise.
std::string geometryProblem(const std::filesystem::path& input);

}  // namespace orvane::fuzz

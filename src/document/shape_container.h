#pragma once
// The forms of a shape file and how each becomes shape text. UTF-16 text
// is read as it stands (by the text source); the other forms are turned
// into the UTF-16 text the reader parses: 8-bit text widened, compressed
// data inflated, binary tokens printed as the format's own tool prints them.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "document/shape_form.h"

namespace orvane {

// Bytes of the file's start that tell its form.
inline constexpr std::size_t kFormBytes = 24;

// The form the first bytes show. Text for anything the UTF-16 reader is to
// decide on (it may still turn out not to be a shape).
ShapeForm formOfFile(std::string_view firstBytes);

// Most bytes a compressed shape may inflate to, and a binary or 8-bit shape
// may have.
inline constexpr std::uint64_t kMostShapeBytes = std::uint64_t{2} << 30;

// The whole file of a non-UTF-16 form as shape text, its header line first.
// Throws DamagedShape with the reason and where.
std::u16string shapeTextOf(ShapeForm form, std::span<const unsigned char> file);

// The inflated data of a compressed shape, checked against the size its
// header declares. Throws DamagedShape.
std::vector<unsigned char> inflateShape(std::span<const unsigned char> file);

}  // namespace orvane

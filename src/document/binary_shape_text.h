#pragma once
// Binary shape tokens as shape text: the text the format's own tool prints
// when it decompresses a shape, so that the text reader builds from it the
// very tree it builds from that tool's output.

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace orvane {

// A compressed or binary shape that cannot be read: the message gives the
// reason and the byte where it was found.
class DamagedShape : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The header line every decoded shape gets.
inline constexpr std::string_view kDecodedHeader = "SIMISA@@@@@@@@@@JINX0s1t______";

// The text of the binary tokens: the header line, an empty line and the
// shape block. `tokens` starts with the shape block; `firstByte` is its
// position in the file (or in the inflated data), and `where` is added to
// every byte position a message names (such as " of the inflated data").
// Throws DamagedShape.
std::u16string binaryShapeText(std::span<const unsigned char> tokens, std::uint64_t firstByte,
                               std::string_view where);

// How the format's own tool prints a float: C "%g" with 6 significant
// digits and a 3-digit exponent ("-3.8e-005"); negative zero is "0".
std::string toolFloatText(float value);

// A byte count or position with thousands separators: "8,211".
std::string groupedNumber(std::uint64_t value);

}  // namespace orvane

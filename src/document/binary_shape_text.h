#pragma once
// Binary shape tokens as the items of shape text: for each block its name,
// label and values, each value printed as the format's own tool prints it
// when it decompresses a shape. Fed to the text reader's item handling,
// they build the very tree that reader builds from that tool's output.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace orvane {

// A shape that cannot be read although its form was recognised: a damaged
// compressed or binary shape (the message gives the reason and the byte
// where it was found) or a text shape cut off inside a block (the block
// and the line of its "(").
class DamagedShape : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The header line every decoded shape gets.
inline constexpr std::string_view kDecodedHeader = "SIMISA@@@@@@@@@@JINX0s1t______";

// Hears the items of the tokens in text order (all text UTF-8).
class ShapeTokenSink {
public:
    virtual ~ShapeTokenSink() = default;
    // A block's head: "name label (" in the text (label empty for none).
    virtual void tokenBlockOpen(std::string_view name, std::string_view label) = 0;
    virtual void tokenValue(std::string_view text) = 0;
    // A block's ")"; `endByte` is where it ends among the tokens.
    virtual void tokenBlockClose(std::uint64_t endByte) = 0;
};

// Bytes read in order a piece at a time: writes up to `room` of the next
// bytes to `to` and returns how many (0 only when none are left).
using ReadBytes = std::function<std::size_t(unsigned char* to, std::size_t room)>;

// Decodes `size` bytes of tokens from `read`, the shape block first, into
// sink as they arrive; only a window of them is held at a time. `firstByte`
// is the tokens' position in the file (or in the inflated data), and
// `where` is added to every byte position a message names (such as " of the
// inflated data"). Throws DamagedShape.
void decodeShapeTokens(const ReadBytes& read, std::uint64_t size, std::uint64_t firstByte, std::string_view where,
                       ShapeTokenSink& sink);

// How the format's own tool prints a float: C "%g" with 6 significant
// digits and a 3-digit exponent ("-3.8e-005"); negative zero is "0".
// Writes at most 16 characters to out and returns their end.
char* toolFloatChars(char* out, float value);
std::string toolFloatText(float value);

// A byte count or position with thousands separators: "8,211".
std::string groupedNumber(std::uint64_t value);

}  // namespace orvane

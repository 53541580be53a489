#pragma once
// The forms of a shape file and what the reader reads of each. UTF-16 text
// is read as it stands (by the text source); 8-bit text becomes UTF-16
// text; compressed data is inflated; binary tokens are handed on as they
// are (see binary_shape_text.h).

#include <cstdint>
#include <functional>
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

// What a file of a non-UTF-16 form holds: shape text (its header line
// first), or binary tokens.
struct ShapeContent {
    std::u16string text;               // for text
    std::vector<unsigned char> data;   // the file or the inflated data, for tokens
    std::size_t tokensStart = 0;       // where in data the tokens (the shape block) start
    std::uint64_t firstByte = 0;       // their position for messages
    std::string where;                 // added to each position a message names
    bool isTokens() const { return !data.empty(); }
    std::span<const unsigned char> tokens() const { return std::span(data).subspan(tokensStart); }
};

// Throws DamagedShape with the reason and where.
ShapeContent shapeContentOf(ShapeForm form, std::vector<unsigned char> file,
                            const std::function<void()>& reserved = {});

// The inflated data of a compressed shape, checked against the size its
// header declares. `reserved` is called once the room for it is taken and
// before it is written. Throws DamagedShape.
std::vector<unsigned char> inflateShape(std::span<const unsigned char> file,
                                        const std::function<void()>& reserved = {});

// The size a compressed shape's header declares (0 when it has no header).
std::uint64_t declaredInflatedSize(std::string_view firstBytes);

}  // namespace orvane

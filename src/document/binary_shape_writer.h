#pragma once
// A shape tree in the binary forms: binary tokens by the block rules, and
// the compressed shape ("SIMISA@F", the inflated size, "@@@@", zlib).

#include <vector>

#include "document/cls_reader.h"

namespace orvane {

// The sub-header "JINX0s1b______\r\n" and the root as binary tokens. A
// value the binary form cannot hold (a word where a number belongs, a
// number past 32 bits, a block where the rules have none) throws
// ShapeError naming the block and the value.
std::vector<unsigned char> binaryShapeTokens(const clsReader& root);

// The compressed shape file of those tokens.
std::vector<unsigned char> compressedShape(const std::vector<unsigned char>& tokens);

}  // namespace orvane

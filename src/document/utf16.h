#pragma once
// Conversion between the UTF-16LE code units of shape files and the UTF-8
// text the tree holds. Lone surrogates survive the round trip (they are
// kept in their 3-byte form), so every value writes back as it was read.

#include <string>
#include <string_view>

namespace orvane {

// Appends the UTF-8 form of UTF-16 code units to out.
void appendUtf8(std::string& out, std::u16string_view units);
std::string toUtf8(std::u16string_view units);

// Appends the UTF-16 code units of UTF-8 text to out. Bytes that are not
// valid UTF-8 become U+FFFD.
void appendUtf16(std::u16string& out, std::string_view text);
std::u16string toUtf16(std::string_view text);

}  // namespace orvane

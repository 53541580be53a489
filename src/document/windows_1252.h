#pragma once
// 8-bit shape text as UTF-16: bytes above 127 are taken as Windows-1252,
// the code page of the systems that wrote such files.

#include <span>
#include <string>

namespace orvane {

void appendWindows1252(std::u16string& out, std::span<const unsigned char> bytes);

}  // namespace orvane

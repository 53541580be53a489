#pragma once
// What an unreadable file is, as far as its first bytes tell.

#include <filesystem>
#include <string>

namespace orvane::batch {

// A short description for the summary: a compressed shape ("SIMISA@F"), a
// binary shape ("JINX0s1b" in the header), a shape in 8-bit text, shape
// text that could not be parsed, or not a shape file.
std::string unreadableKind(const std::filesystem::path& file);

}  // namespace orvane::batch

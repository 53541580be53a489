#pragma once
// What an unreadable file is, as far as its first bytes tell.

#include <filesystem>
#include <string>

namespace orvane::batch {

// A short description for the summary of a file that is not a damaged
// compressed or binary shape (those say why themselves): UTF-16 or 8-bit
// shape text that could not be parsed, or not a shape file.
std::string unreadableKind(const std::filesystem::path& file);

}  // namespace orvane::batch

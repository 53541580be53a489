#pragma once
// Paths as text: arguments and summaries are UTF-8 on every system, with
// "/" between the parts.

#include <filesystem>
#include <string>

namespace orvane::batch {

std::filesystem::path pathFromUtf8(const std::string& text);

// The path in UTF-8 with "/" as separator.
std::string utf8FromPath(const std::filesystem::path& path);

}  // namespace orvane::batch

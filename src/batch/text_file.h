#pragma once
// A batch's own text files (reports, the summary): the bytes as they are.

#include <filesystem>
#include <string_view>

namespace orvane::batch {

// Writes text to file, replacing what was there; false when that failed.
bool writeTextFile(const std::filesystem::path& file, std::string_view text);

}  // namespace orvane::batch

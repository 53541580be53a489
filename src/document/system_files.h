#pragma once
// The two file calls of the safe write that differ between systems.

#include <cstdio>
#include <filesystem>

namespace orvane::detail {

// Creates the file for writing in binary, failing (null, errno set; on
// Windows also _doserrno, the system's own error) when it exists already.
std::FILE* openNewFile(const std::filesystem::path& path);

// Puts the complete file temp in target's place, replacing an earlier file
// of that name in one step. Throws std::system_error, or std::runtime_error
// when another program holds target open.
void replaceFile(const std::filesystem::path& temp, const std::filesystem::path& target);

}  // namespace orvane::detail

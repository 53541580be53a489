#pragma once
// The batch benchmark's routes, written into a folder (route/ and tiny/)
// to run orvane-cli or a profiler on them.

#include <filesystem>

namespace orvane::bench {

void writeBatchRoutes(const std::filesystem::path& folder);

}  // namespace orvane::bench

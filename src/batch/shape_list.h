#pragma once
// The shapes of a batch: the files named, plus every file under each folder
// named, recursively, whose name ends in ".s" in any letter case. Links to
// folders are not followed; a link to a file counts as that file.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace orvane::batch {

struct FoundShape {
    std::filesystem::path file;        // as the run opens it
    std::string path;                  // in the summary: relative to a folder given, else as given
    std::filesystem::path reportName;  // under the reports folder
    std::uint64_t bytes = 0;
};

bool hasShapeSuffix(const std::filesystem::path& file);

// The indices of shapes, smallest file first (equal sizes in list order).
std::vector<std::size_t> shapesBySize(const std::vector<FoundShape>& shapes);

// The shapes sorted by `path` in byte order (UTF-8 with "/": parts compare
// as written). None when a PATH does not exist; error then names it.
std::optional<std::vector<FoundShape>> findShapes(const std::vector<std::string>& paths, std::string& error);

}  // namespace orvane::batch

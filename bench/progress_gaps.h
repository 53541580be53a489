#pragma once
// The longest wait between two redraws of the progress bar while one shape
// is read, measured on a shape given by hand (a generated 1 GB shape, say).

#include <string_view>

namespace orvane::bench {

inline constexpr std::string_view kProgressGapsOption = "--progress-gaps";
inline constexpr std::string_view kOutermostItemsOption = "--outermost-items";
inline constexpr std::string_view kWriteShapeOption = "--write-shape";

// Reads the shape at path with a progress listener as the run sets it (or,
// with outermostItems, as the format's reader reports by itself), prints
// each event's time on standard error and the longest time between two
// events (the start and end of the read count as events).
int progressGaps(const char* path, bool outermostItems);

// Writes a generated shape of about `triangles` triangles to path.
int writeShape(const char* triangles, const char* path);

}  // namespace orvane::bench

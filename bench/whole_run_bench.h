#pragma once
// A started copy of the benchmark program that runs one whole fix run and
// prints how long runFix took, in seconds (negative when it did not complete
// with a written file); its parent reads the copy's peak memory.

#include <string_view>

namespace orvane::bench {

inline constexpr std::string_view kRunOnceOption = "--run-once";

// Runs the fix run on the shape at path with the two limits; returns the exit code.
int runOnce(const char* path, const char* maxPrimFaces, const char* maxObjectPolys);

}  // namespace orvane::bench

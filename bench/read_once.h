#pragma once
// A started copy of the benchmark program that reads one shape and prints
// how long ReadFile took, in seconds (negative when the shape did not read).

#include <string_view>

inline constexpr std::string_view kReadOnceOption = "--read-once";

// Reads the shape at path, prints the seconds; returns the exit code.
int readOnce(const char* path);

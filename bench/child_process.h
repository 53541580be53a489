#pragma once
// Runs a program as a new process and times it from start to exit.

#include <string>
#include <vector>

namespace orvane::bench {

struct ChildResult {
    bool ok = false;         // started and exited with status 0
    double seconds = 0;      // from start to exit
    long peakKiB = 0;        // its peak resident memory
    double cpuSeconds = 0;   // user and system time of all its threads
    std::string output;      // its standard output (when captured)
};

// Starts argv[0] with the arguments; standard output is captured when
// captureOutput, otherwise discarded.
ChildResult runChild(const std::vector<std::string>& argv, bool captureOutput);

// This program's own path.
std::string selfPath();

}  // namespace orvane::bench

#pragma once
// Batch mode on threads, the way it runs on Windows, forced on Linux (where
// orvane-cli's batch uses worker processes): a started copy of the benchmark
// program runs `orvane-cli --report-only --jobs JOBS --format csv FOLDER` in
// threads of one process and prints the summary.

#include <string_view>

namespace orvane::bench {

inline constexpr std::string_view kBatchInThreadsOption = "--batch-in-threads";

// Returns the batch's exit status.
int batchInThreads(const char* jobs, const char* folder);

}  // namespace orvane::bench

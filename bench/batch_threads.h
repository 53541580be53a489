#pragma once
// Batch mode on threads, the way it runs on Windows, forced on Linux (where
// orvane-cli's batch uses worker processes): a started copy of the benchmark
// program runs `orvane-cli --report-only --jobs JOBS --format csv FOLDER` in
// threads of one process and prints the summary.
//
// With kIdleThreadOption after the folder a second thread waits, idle, while
// the batch runs: the C library then takes its locks in every malloc and
// free even with --jobs 1, as with two workers; a single-threaded process
// skips them. That --jobs 1 run tells the
// cost of the locks apart from how well two workers share the machine.

#include <string_view>

namespace orvane::bench {

inline constexpr std::string_view kBatchInThreadsOption = "--batch-in-threads";
inline constexpr std::string_view kIdleThreadOption = "--idle-thread";
// Instead of kIdleThreadOption: the batch without the findings.
inline constexpr std::string_view kNoFindingsOption = "--no-findings";

// Returns the batch's exit status.
int batchInThreads(const char* jobs, const char* folder, bool idleThread, bool findings = true);

}  // namespace orvane::bench

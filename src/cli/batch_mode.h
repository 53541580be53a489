#pragma once
// orvane-cli over several shapes: runs them side by side and prints one
// summary.

#include "cli/cli_options.h"

namespace orvane::cli {

// A folder, several PATHs, or an option only batch mode has.
bool isBatchRun(const CliOptions& options);

// Runs the batch and returns the exit status.
int runBatchMode(const CliOptions& options);

}  // namespace orvane::cli

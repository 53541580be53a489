#pragma once
// Ctrl-C in batch mode.

#include <atomic>

namespace orvane::cli {

// From now on Ctrl-C (SIGINT, or the console's Ctrl-C and Ctrl-Break on
// Windows) sets the flag returned instead of ending the process.
const std::atomic<bool>& catchInterrupt();

}  // namespace orvane::cli

#pragma once
// The console side of batch mode besides the standard streams: text files
// named in UTF-8, and Ctrl-C.

#include <atomic>
#include <string>
#include <string_view>

namespace orvane::cli {

// Writes text to the file named in UTF-8; false when that failed.
bool writeTextFile(const std::string& utf8Path, std::string_view text);

// From now on Ctrl-C (SIGINT, or the console's Ctrl-C and Ctrl-Break on
// Windows) sets the flag returned instead of ending the process.
const std::atomic<bool>& catchInterrupt();

}  // namespace orvane::cli

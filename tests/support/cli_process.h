#pragma once
// Runs the built orvane-cli as a whole process through the system's shell
// (sh, or cmd.exe on Windows), with its output streams caught in files.

#include <filesystem>
#include <string>

namespace orvane::test {

struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

// One argument as the shell passes it on.
std::string quoted(const std::filesystem::path& path);

// Runs orvane-cli with the arguments (already quoted), no standard input;
// its output streams pass through files in dir.
CliResult runCli(const std::filesystem::path& dir, const std::string& arguments);

}  // namespace orvane::test

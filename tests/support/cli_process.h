#pragma once
// Runs the built programs as whole processes through the system's shell
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

// Runs the program with the arguments (already quoted), no standard input;
// its output streams pass through files in dir.
CliResult runProgram(const std::filesystem::path& program, const std::filesystem::path& dir,
                     const std::string& arguments);

// runProgram for the built orvane-cli.
CliResult runCli(const std::filesystem::path& dir, const std::string& arguments);

}  // namespace orvane::test

#pragma once
// Command-line options of orvane-cli.

#include <optional>
#include <string>
#include <vector>

#include "fixes/run_state.h"

namespace orvane::cli {

struct CliOptions {
    RunLimits limits;
    RunSwitches switches;
    std::string file;
    bool help = false;
    bool version = false;
};

// The usage text printed by --help and after a usage error.
extern const char* const kUsage;

// Parses the arguments (without the program name). On a usage error returns
// none and sets error to what was wrong.
std::optional<CliOptions> parseArguments(const std::vector<std::string>& args, std::string& error);

// The minimum edge setting as the limit dialog computes it: (mm / 1000)^2,
// each operation rounded to single precision.
float minEdgeSqrFromMillimetres(float millimetres);

}  // namespace orvane::cli

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
    std::string file;                // the first PATH
    std::vector<std::string> paths;  // every PATH, in the order given
    bool help = false;
    bool version = false;
    // Batch mode: a folder, several PATHs, or any option of its own.
    int jobs = 0;  // 0: the number of cores
    std::string format = "table";
    std::string reportsDir;
    std::string summaryFile;
    bool batchOption = false;  // --format, --reports or --summary was given
    // Findings beyond the checks: listed after the report of a single run
    // (a batch always lists them); textures also looked for in these folders.
    bool findings = false;
    std::vector<std::string> textureDirs;
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

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
    bool batchOption = false;  // --format, --reports, --summary or --pictures was given
    // Findings beyond the checks: listed after the report of a single run
    // (a batch always lists them); textures also looked for in these folders.
    bool findings = false;
    std::vector<std::string> textureDirs;
    // Pictures of the shape as read, with its findings.
    std::string pictureFile;  // --picture: single file
    std::string picturesDir;  // --pictures: batch
    std::string view = "iso";
    int pictureWidth = 0;  // --size; 0: 1280x800 for --picture, 480x300 for --pictures
    int pictureHeight = 0;
    int lod = 0;
};

// The sides a picture may have, in pixels.
inline constexpr int kMinPictureSide = 16;
inline constexpr int kMaxPictureSide = 8192;

// The usage text printed by --help and after a usage error.
extern const char* const kUsage;

// Parses the arguments (without the program name). On a usage error returns
// none and sets error to what was wrong.
std::optional<CliOptions> parseArguments(const std::vector<std::string>& args, std::string& error);

// The minimum edge setting as the limit dialog computes it: (mm / 1000)^2,
// each operation rounded to single precision.
float minEdgeSqrFromMillimetres(float millimetres);

}  // namespace orvane::cli

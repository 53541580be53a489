// The whole headless run on any bytes, with small limits and every switch
// on: it completes or stops with a message, never changes the input, and
// anything it writes reads back.

#include <cstring>
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"

using namespace orvane;
using namespace orvane::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto input = scratchDir() / "model.s";
    const auto output = outputPathFor(input);
    std::error_code ec;
    std::filesystem::remove(output, ec);
    writeFile(input, data, size);

    RunLimits limits;
    limits.maxPrimFaces = 3;
    limits.maxObjectPolys = 20;
    const float metres = 50.0f / 1000.0f;  // a 50 mm minimum edge
    limits.minEdgeSqr = metres * metres;
    RunSwitches switches;
    switches.chkPoly = true;
    switches.chkAnims = true;
    switches.chkReport = false;

    SilentView view;
    RunResult result = runFix(input, view, limits, switches);

    const std::string after = readFile(input);
    if (after.size() != size || (size > 0 && std::memcmp(after.data(), data, size) != 0))
        fail("the run changed its input file");
    const bool exists = std::filesystem::exists(output);
    if (result.wrote != exists) fail("the output file exists exactly when the run says it wrote");
    if (result.outcome != RunOutcome::Completed && exists) fail("a stopped run left an output file");
    if (exists && readTree(output)->Nodes().empty()) fail("the written shape does not read back");
    if ((result.outcome == RunOutcome::Stopped || result.outcome == RunOutcome::WriteFailed) && result.problem.empty())
        fail("a stopped run gave no message");
    for (const auto& entry : std::filesystem::directory_iterator(scratchDir())) {
        auto name = entry.path().filename().string();
        if (name != "model.s" && name != "model.sfixed") fail("a stray file was left behind: " + name);
    }
    return 0;
}

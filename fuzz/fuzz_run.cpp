// The whole headless run on any bytes, with small limits and every switch
// on: it completes or stops with a message, never changes the input, and
// anything it writes is complete and leaves nothing else behind (see
// runProblem).

#include <cstddef>
#include <cstdint>
#include <system_error>

#include "fuzz_checks.h"
#include "fuzz_support.h"

using namespace orvane;
using namespace orvane::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto folder = scratchDir() / "run";
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    std::filesystem::create_directory(folder);
    const auto input = folder / "model.s";
    writeFile(input, data, size);
    const std::string problem = runProblem(input);
    if (!problem.empty()) fail(problem);
    return 0;
}

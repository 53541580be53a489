// Any bytes as a shape file: when they read, the tree survives the writer
// (see documentProblem).

#include <cstddef>
#include <cstdint>

#include "fuzz_checks.h"
#include "fuzz_support.h"

using namespace orvane::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto input = scratchDir() / "input.s";
    writeFile(input, data, size);
    const std::string problem = documentProblem(input, scratchDir());
    if (!problem.empty()) fail(problem);
    return 0;
}

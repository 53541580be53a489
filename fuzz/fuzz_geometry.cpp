// Any bytes as a shape file: the triangles of its LODs in space, their
// findings and a small picture of each keep their promises (geometryProblem).

#include <cstddef>
#include <cstdint>
#include <system_error>

#include "fuzz_support.h"
#include "geometry_checks.h"

using namespace orvane::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto input = scratchDir() / "geometry.s";
    writeFile(input, data, size);
    const std::string problem = geometryProblem(input);
    if (!problem.empty()) fail(problem);
    return 0;
}

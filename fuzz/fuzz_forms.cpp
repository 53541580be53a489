// Shape files of every form, built from the input (see formsFile): the
// binary reader and the compressed writer keep their promises (formsProblem).

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_checks.h"
#include "fuzz_support.h"

using namespace orvane::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string problem =
        formsProblem(std::string_view(reinterpret_cast<const char*>(data), size), scratchDir());
    if (!problem.empty()) fail(problem);
    return 0;
}

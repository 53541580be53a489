// The inputs committed for the geometry fuzz target (its seeds and every
// finding) keep its promises in the normal build too.

#include <gtest/gtest.h>

#include <filesystem>

#include "geometry_checks.h"

namespace {

TEST(FuzzInputs, GeometryAndPicturesKeepTheirPromises) {
    const std::filesystem::path fuzz = ORVANE_FUZZ_DIR;
    int inputs = 0;
    for (const char* kind : {"seeds", "regressions"}) {
        const auto folder = fuzz / kind / "fuzz_geometry";
        if (!std::filesystem::is_directory(folder)) continue;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            if (!entry.is_regular_file()) continue;
            ++inputs;
            EXPECT_EQ(orvane::fuzz::geometryProblem(entry.path()), "") << entry.path();
        }
    }
    EXPECT_GT(inputs, 0);
}

}  // namespace

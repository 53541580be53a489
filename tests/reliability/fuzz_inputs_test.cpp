// The inputs committed under fuzz/ (the seeds and every finding of the fuzz
// targets) pass the fuzz targets' checks in the normal build too.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "fuzz_checks.h"
#include "support/shape_files.h"

using namespace orvane;
using namespace orvane::test;

namespace {

const std::filesystem::path kFuzzDir = ORVANE_FUZZ_DIR;

std::vector<std::filesystem::path> inputsOf(const std::string& target) {
    std::vector<std::filesystem::path> files;
    for (const char* kind : {"seeds", "regressions"}) {
        const auto folder = kFuzzDir / kind / target;
        if (!std::filesystem::is_directory(folder)) continue;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            if (entry.is_regular_file()) files.push_back(entry.path());
    }
    return files;
}

TEST(FuzzInputs, EveryTargetHasSeeds) {
    for (const char* target : {"fuzz_document", "fuzz_run", "fuzz_forms"})
        EXPECT_FALSE(inputsOf(target).empty()) << "no inputs under " << (kFuzzDir / "seeds" / target);
}

TEST(FuzzInputs, DocumentSurvivesTheWriter) {
    for (const auto& file : inputsOf("fuzz_document")) {
        TempDir scratch;
        EXPECT_EQ(fuzz::documentProblem(file, scratch.path()), "") << file;
    }
}

TEST(FuzzInputs, EveryFormReadsAndWritesBack) {
    for (const auto& file : inputsOf("fuzz_forms")) {
        TempDir scratch;
        EXPECT_EQ(fuzz::formsProblem(readBytes(file), scratch.path()), "") << file;
    }
}

TEST(FuzzInputs, RunKeepsItsPromises) {
    for (const auto& file : inputsOf("fuzz_run")) {
        TempDir folder;
        std::filesystem::copy_file(file, folder / "model.s");
        EXPECT_EQ(fuzz::runProblem(folder / "model.s"), "") << file;
    }
}

}  // namespace

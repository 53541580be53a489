// A write that fails leaves no output and no temporary file, and an earlier
// file of the output's name as it was. The failures hold for root too: an
// output name that is a folder, a file-size limit the system enforces, a
// failure injected into the writer mid-file, a folder that does not exist.

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <csignal>
#include <string>

#include "document/cls_reader.h"
#include "document/shape_error.h"
#include "document/shape_writer_output.h"
#include "document/system_reason.h"
#include "reliability/run_contract.h"
#include "support/shape_files.h"
#include "generator/shape_generator.h"

using namespace orvane;
using namespace orvane::test;

namespace {

// The reason of an injected failure, in the system's words.
const std::string kNoSpace = systemReason(std::make_error_code(std::errc::no_space_on_device));

// Fails the writer's chunks from the n-th on (0: the first) while it lives.
class FailingChunks {
public:
    explicit FailingChunks(int firstFailing) {
        detail::setChunkWriteFailureForTests([this, firstFailing](std::uint64_t, std::size_t) {
            return chunks_++ >= firstFailing;
        });
    }
    ~FailingChunks() { detail::setChunkWriteFailureForTests({}); }
    int chunks() const { return chunks_; }

private:
    int chunks_ = 0;
};

#ifndef _WIN32
// Files may grow to `bytes` at most while it lives; writing past that fails
// with EFBIG (the signal that would end the process is ignored meanwhile).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lower = saved_;
        lower.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lower);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};
#endif

class FailedWrite : public ::testing::Test {
protected:
    void SetUp() override {
        // About 1.4 MB, so the writer hands it over in several chunks; the
        // 30 fps animation is the repair that makes the run write.
        ShapeParameters params;
        params.triangles = 4000;
        params.animation = GeneratedAnimation::Frames;
        params.animationFrames = 15;
        writeGeneratedShape(input_, params);
    }
    CheckedRun run() { return runChecked(input_, RunLimits{}, allSwitchesOn()); }
    void expectWriteFailed(const CheckedRun& run, const std::string& reason) {
        EXPECT_EQ(run.result.outcome, RunOutcome::WriteFailed) << describe(run.result);
        EXPECT_NE(run.result.problem.find(output_.string()), std::string::npos) << run.result.problem;
        EXPECT_NE(run.result.problem.find(reason), std::string::npos) << run.result.problem;
    }

    TempDir dir_;
    std::filesystem::path input_ = dir_ / "model.s";
    std::filesystem::path output_ = dir_ / "model.sfixed";
};

TEST_F(FailedWrite, TheShapeIsWrittenWhenNothingFails) {
    CheckedRun done = run();
    EXPECT_EQ(done.result.outcome, RunOutcome::Completed) << describe(done.result);
    EXPECT_TRUE(done.result.wrote);
    EXPECT_GT(std::filesystem::file_size(output_), 1'000'000u);
}

TEST_F(FailedWrite, OutputNameIsAFolder) {
    std::filesystem::create_directory(output_);
    writeBytes(output_ / "inside.txt", "kept");
    expectWriteFailed(run(), systemReason(std::make_error_code(std::errc::is_a_directory)));
    EXPECT_EQ(folderEntries(output_), std::vector<std::string>{"inside.txt"});
    EXPECT_EQ(readBytes(output_ / "inside.txt"), "kept");
}

TEST_F(FailedWrite, InjectedFailureMidFile) {
    FailingChunks failing(2);
    expectWriteFailed(run(), kNoSpace);
    EXPECT_GT(failing.chunks(), 2) << "the failure came before the middle of the file";
}

TEST_F(FailedWrite, InjectedFailureOnTheFirstChunk) {
    FailingChunks failing(0);
    expectWriteFailed(run(), kNoSpace);
}

TEST_F(FailedWrite, InjectedFailureKeepsAnEarlierOutput) {
    writeBytes(output_, "an earlier output");
    const FileSnapshot before = FileSnapshot::pin(output_);
    FailingChunks failing(3);
    expectWriteFailed(run(), kNoSpace);
    expectUnchanged(output_, before);
}

TEST_F(FailedWrite, FileSizeLimitOfTheSystemMidFile) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no file-size limit for a process";
#else
    writeBytes(output_, "an earlier output");
    const FileSnapshot before = FileSnapshot::pin(output_);
    {
        FileSizeLimit limit(300'000);
        expectWriteFailed(run(), "File too large");
    }
    expectUnchanged(output_, before);
#endif
}

TEST_F(FailedWrite, DirectSaveIntoAMissingFolder) {
    NodePtr root = clsReader::create();
    root->ReadFile(input_, true);
    ASSERT_FALSE(root->Nodes().empty());
    const auto target = dir_ / "missing" / "model.s";
    EXPECT_THROW(root->SaveFile(target), SaveError);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "missing"));
    EXPECT_EQ(folderEntries(dir_.path()), std::vector<std::string>{"model.s"});
}

TEST_F(FailedWrite, DirectSaveWithInjectedFailureLeavesTheTargetAlone) {
    NodePtr root = clsReader::create();
    root->ReadFile(input_, true);
    writeBytes(output_, "an earlier output");
    {
        FailingChunks failing(1);
        EXPECT_THROW(root->SaveFile(output_), SaveError);
    }
    EXPECT_EQ(readBytes(output_), "an earlier output");
    EXPECT_EQ(folderEntries(dir_.path()), (std::vector<std::string>{"model.s", "model.sfixed"}));
}

}  // namespace

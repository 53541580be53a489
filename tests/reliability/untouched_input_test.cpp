// The input file keeps its bytes and its modification time after every kind
// of run: completed with a write, report only, unreadable, stopped, and a
// failed write. (runChecked compares both before and after each run.)

#include <gtest/gtest.h>

#include <string>

#include "reliability/malformed_shapes.h"
#include "reliability/run_contract.h"
#include "support/shape_files.h"

using namespace orvane;
using namespace orvane::test;

namespace {

class UntouchedInput : public ::testing::Test {
protected:
    RunResult runOn(const std::string& bytes, RunSwitches switches = allSwitchesOn()) {
        writeBytes(input_, bytes);
        const FileSnapshot before = FileSnapshot::pin(input_);
        CheckedRun run = runChecked(input_, repairingLimits(), switches);
        expectUnchanged(input_, before);
        return run.result;
    }
    static std::string shapeBytes(const std::string& body) { return utf16Bytes(std::string(kHeader) + "\r\n" + body); }

    TempDir dir_;
    std::filesystem::path input_ = dir_ / "model.s";
};

TEST_F(UntouchedInput, CompletedWithWrite) {
    const RunResult result = runOn(shapeBytes(repairableShapeBody()));
    EXPECT_EQ(result.outcome, RunOutcome::Completed);
    EXPECT_TRUE(result.wrote);
}

TEST_F(UntouchedInput, ReportOnly) {
    RunSwitches switches = allSwitchesOn();
    switches.chkReport = true;
    const RunResult result = runOn(shapeBytes(repairableShapeBody()), switches);
    EXPECT_EQ(result.outcome, RunOutcome::Completed);
    EXPECT_FALSE(result.wrote);
}

TEST_F(UntouchedInput, Unreadable) {
    // A compressed shape whose data is damaged.
    const RunResult result = runOn(std::string("SIMISA@F\x10\x00\x00\x00@@@@\x78\x9c\xff\xff", 18));
    EXPECT_EQ(result.outcome, RunOutcome::Unreadable);
}

TEST_F(UntouchedInput, Stopped) {
    const RunResult result = runOn(shapeBytes(replaceFirst(repairableShapeBody(), "vertex_idxs ( 18 0 25 1",
                                                           "vertex_idxs ( 18 0 25 900")));
    EXPECT_EQ(result.outcome, RunOutcome::Stopped);
}

TEST_F(UntouchedInput, WriteFailed) {
    std::filesystem::create_directory(outputPathFor(input_));
    const RunResult result = runOn(shapeBytes(repairableShapeBody()));
    EXPECT_EQ(result.outcome, RunOutcome::WriteFailed);
}

TEST_F(UntouchedInput, RunOnItsOwnOutput) {
    // Choosing the written output in a later run writes "...fixedfixed" and
    // leaves the first output as it was.
    runOn(shapeBytes(repairableShapeBody()));
    const auto first = outputPathFor(input_);
    const FileSnapshot before = FileSnapshot::pin(first);
    RecordingView view;
    const RunResult again = runFix(first, view, repairingLimits(), allSwitchesOn());
    EXPECT_EQ(again.outcome, RunOutcome::Completed) << describe(again);
    expectUnchanged(first, before);
}

}  // namespace

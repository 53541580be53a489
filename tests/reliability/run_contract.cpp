#include "reliability/run_contract.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>

#include "document/cls_reader.h"
#include "support/shape_files.h"

namespace orvane::test {

RunLimits repairingLimits() {
    RunLimits limits;
    limits.maxPrimFaces = 2;
    limits.maxObjectPolys = 6;
    const float metres = 50.0f / 1000.0f;
    limits.minEdgeSqr = metres * metres;
    return limits;
}

RunSwitches allSwitchesOn() {
    RunSwitches switches;
    switches.chkPoly = true;
    switches.chkAnims = true;
    switches.chkReport = false;
    return switches;
}

FileSnapshot FileSnapshot::pin(const std::filesystem::path& path) {
    // One moment for the whole test program, so pinning twice changes nothing.
    static const auto past = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 400);
    std::filesystem::last_write_time(path, past);
    return {readBytes(path), std::filesystem::last_write_time(path)};
}

void expectUnchanged(const std::filesystem::path& path, const FileSnapshot& before) {
    ASSERT_TRUE(std::filesystem::exists(path)) << path;
    EXPECT_TRUE(readBytes(path) == before.bytes) << "the bytes of " << path << " changed";
    EXPECT_EQ(std::filesystem::last_write_time(path), before.modified) << "the time of " << path << " changed";
}

std::vector<std::string> folderEntries(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string describe(const RunResult& result) {
    switch (result.outcome) {
        case RunOutcome::Completed: return result.wrote ? "completed, wrote" : "completed, wrote nothing";
        case RunOutcome::Unreadable: return "unreadable";
        case RunOutcome::Stopped: return "stopped: " + result.problem;
        case RunOutcome::WriteFailed: return "write failed: " + result.problem;
        case RunOutcome::Cancelled: return "cancelled";
    }
    return "?";
}

namespace {

std::string sentenceCase(std::string text) {
    if (!text.empty()) text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    return text;
}

void expectCompleteOutput(const std::filesystem::path& output) {
    NodePtr written = clsReader::create();
    written->ReadFile(output, true);
    EXPECT_FALSE(written->Nodes().empty()) << "the written file does not read back";
    // A complete file ends with the outermost block's ")".
    const std::string bytes = readBytes(output);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), std::string(")\0", 2)) << "the written file is cut short";
}

struct Before {
    bool inputExists;
    FileSnapshot input;
    bool outputExisted;
    std::vector<std::string> entries;
};

void checkPromises(const std::filesystem::path& input, const RunSwitches& switches, const Before& before,
                   const CheckedRun& run) {
    const std::filesystem::path folder = input.parent_path();
    const std::filesystem::path output = outputPathFor(input);
    const RunResult& result = run.result;
    SCOPED_TRACE(describe(result));

    if (before.inputExists) expectUnchanged(input, before.input);
    ASSERT_FALSE(run.view.events.empty());
    EXPECT_EQ(run.view.events.front(), "busy");
    EXPECT_EQ(run.view.events.back(), "idle") << "the busy pointer stays on";

    switch (result.outcome) {
        case RunOutcome::Completed:
            EXPECT_TRUE(run.view.messages.empty());
            ASSERT_FALSE(run.view.report.empty());
            EXPECT_EQ(run.view.report.back(), "Finished");
            EXPECT_EQ(result.wrote, !switches.chkReport && std::filesystem::exists(output));
            if (result.wrote) expectCompleteOutput(output);
            break;
        case RunOutcome::Unreadable:
            // A file that could not be opened or a damaged compressed or binary shape says why.
            EXPECT_EQ(run.view.messages, std::vector<std::string>{unreadableMessage(input, result)});
            EXPECT_FALSE(result.wrote);
            break;
        case RunOutcome::Stopped:
        case RunOutcome::WriteFailed:
            EXPECT_FALSE(result.wrote);
            EXPECT_FALSE(result.problem.empty());
            ASSERT_EQ(run.view.messages.size(), 1u);
            // The problem stands on the message's second line, as a sentence.
            EXPECT_NE(run.view.messages[0].find("\r" + sentenceCase(result.problem)), std::string::npos)
                << run.view.messages[0];
            break;
        case RunOutcome::Cancelled:
            ADD_FAILURE() << "nobody cancelled this run";
            break;
    }
    std::vector<std::string> expected = before.entries;
    if (result.wrote && !before.outputExisted) {
        expected.push_back(output.filename().string());
        std::sort(expected.begin(), expected.end());
    }
    // Nothing left behind, nothing removed; an output that stood there before
    // a run that did not write is still there.
    EXPECT_EQ(folderEntries(folder), expected);
}

}  // namespace

CheckedRun runChecked(const std::filesystem::path& input, const RunLimits& limits, const RunSwitches& switches) {
    Before before;
    before.inputExists = std::filesystem::exists(input);
    if (before.inputExists) before.input = FileSnapshot::pin(input);
    before.outputExisted = std::filesystem::exists(outputPathFor(input));
    before.entries = folderEntries(input.parent_path());

    CheckedRun run;
    run.result = runFix(input, run.view, limits, switches);
    checkPromises(input, switches, before, run);
    return run;
}

}  // namespace orvane::test

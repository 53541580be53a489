#pragma once
// What every fix run promises whatever its input: it completes, or stops
// with a message; the input file keeps its bytes and modification time; an
// output file is complete and reads back, or is absent; nothing else is
// left in the folder.

#include <filesystem>
#include <string>
#include <vector>

#include "run/fix_run.h"
#include "run/recording_view.h"

namespace orvane::test {

// Limits small enough that the test shapes get split and divided, with
// every switch on: lifting short edges, animations, writing.
RunLimits repairingLimits();
RunSwitches allSwitchesOn();

// The input's bytes and modification time. pin() first sets the time to a
// fixed moment in the past, so that any rewrite shows.
struct FileSnapshot {
    static FileSnapshot pin(const std::filesystem::path& path);
    std::string bytes;
    std::filesystem::file_time_type modified;
};
void expectUnchanged(const std::filesystem::path& path, const FileSnapshot& before);

// Names of the entries of a folder, sorted.
std::vector<std::string> folderEntries(const std::filesystem::path& folder);

struct CheckedRun {
    RunResult result;
    RecordingView view;
};

// Runs the fix run on input and checks the promises above with gtest
// expectations; input's folder must hold nothing but the input (and, when
// the test arranged it, an existing output).
CheckedRun runChecked(const std::filesystem::path& input, const RunLimits& limits, const RunSwitches& switches);

// The outcome in words for messages: "completed, wrote", "stopped: ...".
std::string describe(const RunResult& result);

}  // namespace orvane::test

#pragma once
// The stages of one headless fix run, callable one at a time so that the
// benchmark can time each on its own, in the order the run driver takes them.

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "run/fix_run.h"

namespace orvane::bench {

// A run view that shows nothing; it notes when the run yielded to the
// window (each progress redraw while a caption is set, each status text) and
// in which phase, for the longest time between yields.
class SilentView : public RunView {
public:
    using Clock = std::chrono::steady_clock;
    enum class Phase { Reading, Writing, Status };

    void addLine(const std::string&) override { ++lines; }
    void repaintLines() override {}
    void clearReport() override {}
    void setCaption(const std::string& caption) override {
        hasCaption_ = !caption.empty();
        captionPhase_ = caption.rfind("Writing", 0) == 0 ? Phase::Writing : Phase::Reading;
    }
    void pc(float) override {
        if (hasCaption_) yielded(captionPhase_);
    }
    void prt(const std::string&) override { yielded(Phase::Status); }
    void showMessage(const std::string&) override {}
    void setBusy(bool) override {}
    void keepAlive() override {
        if (hasCaption_) yielded(captionPhase_);
    }

    void yielded(Phase phase = Phase::Status) { yields.push_back({Clock::now(), phase}); }
    // Longest time from a progress redraw of the phase to the next yield
    // of any kind, in seconds.
    double longestGap(Phase phase) const;

    struct Yield {
        Clock::time_point at;
        Phase phase;
    };
    std::size_t lines = 0;
    std::vector<Yield> yields;

private:
    bool hasCaption_ = false;
    Phase captionPhase_ = Phase::Reading;
};

// One run, taken stage by stage.
class StagedRun {
public:
    StagedRun(const RunLimits& limits, const RunSwitches& switches = {}) : run_(view_, limits, switches) {}

    // Reads the shape; false when it did not read.
    bool read(const std::filesystem::path& shape);
    void survey();  // with the small-edge check
    void split();   // when the survey found an oversized primitive
    void divide();  // when it found an oversized sub-object
    void normaliseAnimations();
    void write(const std::filesystem::path& output);

    SilentView& view() { return view_; }
    RunState& state() { return run_; }

private:
    SilentView view_;
    RunState run_;
};

struct WholeRunTimes {
    double seconds = -1;  // negative when the run did not complete with a written file
    double longestReadGap = 0;
    double longestWriteGap = 0;
};

// Runs runFix on the shape with a silent view.
WholeRunTimes timeWholeRun(const std::filesystem::path& shape, const RunLimits& limits);

}  // namespace orvane::bench

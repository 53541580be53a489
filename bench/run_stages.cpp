#include "run_stages.h"

#include <algorithm>

#include "fixes/animations.h"
#include "fixes/split_primitives.h"
#include "fixes/sub_objects.h"
#include "fixes/survey.h"

namespace orvane::bench {

double SilentView::longestGap(Phase phase) const {
    double longest = 0;
    for (std::size_t i = 1; i < yields.size(); ++i)
        if (yields[i - 1].phase == phase)
            longest = std::max(longest, std::chrono::duration<double>(yields[i].at - yields[i - 1].at).count());
    return longest;
}

bool StagedRun::read(const std::filesystem::path& shape) {
    NodePtr root = clsReader::create();
    root->SetProgressListener([this](float percent) { view_.pc(percent * 100.0f); });
    view_.setCaption("Reading " + shape.string());
    view_.pc(0);
    root->ReadFile(shape, true);
    if (root->Nodes().empty()) return false;
    run_.r = std::move(root);
    return true;
}

void StagedRun::survey() {
    prepareRunState(run_);
    checkLods(run_, *run_.r);
}

void StagedRun::split() {
    if (run_.oversizedPrimitives.empty()) return;
    run_.fixesMade = true;
    splitOversizedPrimitives(run_);
}

void StagedRun::divide() {
    if (run_.oversizedSubObjects.empty()) return;
    run_.fixesMade = true;
    createSubObjects(run_);
}

void StagedRun::normaliseAnimations() {
    if (run_.chkAnims) orvane::normaliseAnimations(run_, *run_.r);
}

void StagedRun::write(const std::filesystem::path& output) {
    view_.setCaption("Writing " + output.string());
    view_.pc(0);
    run_.r->SaveFile(output);
}

WholeRunTimes timeWholeRun(const std::filesystem::path& shape, const RunLimits& limits) {
    SilentView view;
    WholeRunTimes times;
    const auto start = SilentView::Clock::now();
    const RunResult result = runFix(shape, view, limits, RunSwitches{});
    const double seconds = std::chrono::duration<double>(SilentView::Clock::now() - start).count();
    if (result.outcome != RunOutcome::Completed || !result.wrote) return times;
    times.seconds = seconds;
    times.longestReadGap = view.longestGap(SilentView::Phase::Reading);
    times.longestWriteGap = view.longestGap(SilentView::Phase::Writing);
    return times;
}

}  // namespace orvane::bench

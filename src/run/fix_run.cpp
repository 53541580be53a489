#include "run/fix_run.h"

#include <new>
#include <vector>

#include "document/block_layout.h"
#include "document/path_text.h"
#include "document/shape_error.h"
#include "document/system_reason.h"
#include "document/tree_edit.h"
#include "fixes/animations.h"
#include "fixes/split_primitives.h"
#include "fixes/sub_objects.h"
#include "fixes/survey.h"
#include "fixes/work_progress.h"

namespace orvane {

const char* const kInvalidFileFormat = "Invalid File Format\rThe file must be a shape in UTF-16 or 8-bit text, compressed or binary";

std::string unreadableShapeMessage(ShapeForm form, const std::string& reason) {
    const char* what = form == ShapeForm::Compressed ? "compressed shape"
                       : form == ShapeForm::Binary   ? "binary shape"
                                                     : "shape";
    std::string line = reason;
    if (!line.empty() && line[0] >= 'a' && line[0] <= 'z') line[0] = char(line[0] - 'a' + 'A');
    return std::string("Unreadable ") + what + "\r" + line;
}

const char* const kCheckingLods = "Checking LOD's";

std::string invalidFormatMessage(const std::filesystem::path& chosen, const std::string& found) {
    return std::string(kInvalidFileFormat) + "\r" + pathText(chosen) + ": " +
           (found.empty() ? std::string("it could not be read as shape text") : found);
}

const char* const kCannotOpenFile = "The file could not be opened";

std::string cannotOpenMessage(const std::filesystem::path& chosen, const std::string& reason) {
    return std::string(kCannotOpenFile) + "\r" + pathText(chosen) + ": " + reason;
}

std::string unreadableMessage(const std::filesystem::path& chosen, const RunResult& result) {
    if (result.openFailed) return cannotOpenMessage(chosen, result.problem);
    if (result.problem.empty()) return invalidFormatMessage(chosen, result.found);
    return unreadableShapeMessage(result.form, result.problem);
}

std::string stoppedRunMessage(const std::filesystem::path& chosen, const std::string& reason) {
    return "The run on " + pathText(chosen) + " stopped: nothing was written.\r" + reason;
}

std::filesystem::path outputPathFor(const std::filesystem::path& chosen) {
    std::filesystem::path output = chosen;
    output += "fixed";
    return output;
}

namespace {

bool treesLeftToExit = false;

// The leak checker looks for pointers only at 8-byte boundaries, but a
// value's pointer to its long text may sit at any multiple of 4 (values take
// 12 bytes): in a parked tree it would call those texts leaked.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMayParkTrees = false;
#else
constexpr bool kMayParkTrees = true;
#endif

// Lets the run's tree go: freed now, or parked until the process ends. The
// parked trees stay reachable.
void releaseTree(NodePtr& root) {
    if (kMayParkTrees && treesLeftToExit) {
        static auto* parked = new std::vector<NodePtr>();
        parked->push_back(std::move(root));
    }
    root.reset();
}

}  // namespace

void leaveTreesToProcessExit() { treesLeftToExit = true; }

namespace {

// Keeps the busy pointer up for the length of a run, whatever ends it.
class BusyPointer {
public:
    explicit BusyPointer(RunView& view) : view_(view) { view_.setBusy(true); }
    ~BusyPointer() { view_.setBusy(false); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    RunView& view_;
};

// A problem as a line of its own: starting with a capital letter.
std::string sentence(std::string problem) {
    if (!problem.empty() && problem[0] >= 'a' && problem[0] <= 'z') problem[0] = char(problem[0] - 'a' + 'A');
    return problem;
}

}  // namespace

void prepareRunState(RunState& run) {
    clsReader& root = *run.r;
    run.oversizedSubObjects.clear();
    run.oversizedPrimitives.clear();
    run.shapePoints = root.Find(blocks::points);
    run.shapeVtxStates = root.Find(blocks::vtx_states);
    run.shapePrimStates = root.Find(blocks::prim_states);
    run.fixesMade = false;
}

namespace {

// The checks and repairs in their fixed order, then the write decision.
void checkAndRepair(RunState& run, const std::filesystem::path& chosen, RunView& view, RunResult& result) {
    clsReader& root = *run.r;
    view.clearReport();
    prepareRunState(run);
    view.prt(kCheckingLods);
    // From here the bar shows the checks and repairs, each whole percent.
    view.setCaption(kCheckingLods);
    run.progress.start(checkWorkOf(root, run.maxPrimFaces, run.maxObjectPolys),
                       [&view](int percent) { view.pc(static_cast<float>(percent)); });

    checkLods(run, root);
    // A repair counts only when it changed the tree: a run whose repairs all
    // left their targets as they were writes nothing.
    if (!run.oversizedPrimitives.empty() && splitOversizedPrimitives(run)) run.fixesMade = true;
    if (!run.oversizedSubObjects.empty() && createSubObjects(run)) run.fixesMade = true;
    if (run.chkAnims)
        normaliseAnimations(run, root);
    else if (NodePtr animations = root.Find(blocks::animations); animations && animations->Find(blocks::animation))
        run.figures.animation = RunFigures::Animation::Kept;
    run.progress.finish();

    if (!run.chkReport && run.fixesMade) {
        // A child without its placeholder would silently drop out of the file.
        std::string missing = findMissingPlaceholder(root);
        if (!missing.empty()) throw ShapeError("cannot write the repaired shape: " + missing);
        result.output = outputPathFor(chosen);
        view.setCaption("Writing " + pathText(result.output));
        view.pc(0);
        if (run.compress)
            root.SaveCompressedFile(result.output);
        else
            root.SaveFile(result.output);
        result.wrote = true;
        view.shapeWritten(root);
        view.prt("Cleaning up");
        releaseTree(run.r);
        view.prt("Finished");
    } else {
        view.prt("No fixes performed");
        releaseTree(run.r);
    }
    view.addLine("Finished");
}

}  // namespace

RunResult runFix(const std::filesystem::path& chosen, RunView& view, const RunLimits& limits,
                 const RunSwitches& switches) {
    RunResult result;
    BusyPointer busy(view);
    try {
        NodePtr root = clsReader::create();
        // The bar follows the read through the large blocks too.
        root->SetProgressListener([&view](float percent) { view.pc(percent * 100.0f); }, ReadProgress::EveryPercent);
        root->SetKeepAliveListener([&view] { view.keepAlive(); });
        view.setCaption("Reading " + pathText(chosen));
        view.pc(0);
        root->ReadFile(chosen, true);
        result.form = root->ReadForm();
        if (root->Nodes().empty()) {
            if (const std::error_code reason = root->OpenError()) {
                result.problem = systemReason(reason);
                result.openFailed = true;
            } else {
                result.problem = root->ReadProblem();
                result.found = root->ReadFound();
            }
            view.showMessage(unreadableMessage(chosen, result));
            result.outcome = RunOutcome::Unreadable;
            result.root = root;
            return result;
        }
        RunState run(view, limits, switches);
        run.r = std::move(root);
        run.trace = view.repairTrace();
        try {
            view.shapeRead(*run.r);
            checkAndRepair(run, chosen, view, result);
        } catch (const ShapeError& e) {
            result.outcome = RunOutcome::Stopped;
            result.problem = e.what();
        } catch (const SaveError& e) {
            result.outcome = RunOutcome::WriteFailed;
            result.problem = e.what();
        } catch (const std::bad_alloc&) {
            result.outcome = RunOutcome::Stopped;
            result.problem = "not enough memory to repair the shape";
        }
        result.figures = run.figures;
        result.fixesMade = run.fixesMade;
    } catch (const RunCancelled&) {
        // Leaving after the write finished keeps the complete file (wrote stays true).
        result.outcome = RunOutcome::Cancelled;
        return result;
    }
    std::string message;
    if (result.outcome == RunOutcome::Stopped)
        message = stoppedRunMessage(chosen, sentence(result.problem));
    else if (result.outcome == RunOutcome::WriteFailed)
        message = "The repaired shape could not be written.\r" + sentence(result.problem);
    if (!message.empty()) {
        view.runStopped(message);
        view.showMessage(message);
    }
    return result;
}

}  // namespace orvane

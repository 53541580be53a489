#pragma once
// One fix run, from a chosen file to the written result, free of any window
// toolkit. A front end (the window or orvane-cli) implements RunView.

#include <filesystem>
#include <string>

#include "fixes/run_state.h"

namespace orvane {

// Thrown from a RunView drawing call when the user asked to leave during a
// run; the run ends at once without writing anything.
struct RunCancelled {};

// What a run shows on screen.
class RunView : public RunReport {
public:
    virtual void clearReport() = 0;
    // Caption of the progress box (its tag text); empty for none.
    virtual void setCaption(const std::string& caption) = 0;
    // Redraws the progress box at percentage p (0..100); yields when a caption is set.
    virtual void pc(float p) = 0;
    // Shows a status text in the progress box and yields.
    virtual void prt(const std::string& text) = 0;
    // A message box with an OK button.
    virtual void showMessage(const std::string& text) = 0;
    // The application-wide busy pointer.
    virtual void setBusy(bool busy) = 0;
    // Called about every 50 ms during long reads and writes: a window handles
    // its pending events here (and may throw RunCancelled).
    virtual void keepAlive() {}
    // The run stopped after reading and wrote nothing; message is the text
    // of the message box that follows. A window keeps it in its report.
    virtual void runStopped(const std::string& message) { (void)message; }
    // The shape was read, before any check or repair touches it: a view may
    // look at the tree as it came from the file (and must not change it); a
    // picture of the shape as read is taken here. Not for an unreadable file.
    virtual void shapeRead(const clsReader& root) { (void)root; }
    // Where the run records what its splits and divisions made, asked once
    // before the checks; none (the default) records nothing. A trace only
    // grows: give each run an empty one, and let it go when done with it
    // (it holds the traced blocks).
    virtual RepairTrace* repairTrace() { return nullptr; }
    // The repaired shape was written: root is the tree as written, before it
    // is released (a view must not change it). Only after a successful
    // write; not for Report Only, a run without fixes, a failure or a cancel.
    virtual void shapeWritten(const clsReader& root) { (void)root; }
};

enum class RunOutcome {
    Completed,    // the run went through, whether or not it wrote a file
    Unreadable,   // the file could not be read as a shape
    Stopped,      // malformed shape content after reading; nothing written
    WriteFailed,  // the output could not be written; no partial file
    Cancelled,    // the user left during the run; nothing written
};

struct RunResult {
    RunOutcome outcome = RunOutcome::Completed;
    bool wrote = false;
    bool fixesMade = false;  // a repair was made, in memory at least
    std::filesystem::path output;
    // For Stopped and WriteFailed; for Unreadable, why the file could not be
    // opened (the system's words), why a damaged compressed or binary shape
    // could not be read, or where a cut-off text shape ends; empty for
    // anything else that is no shape.
    std::string problem;
    // For Unreadable with no problem: what the file held instead of a
    // shape ("empty file", "not a shape: it starts with ..."), if known.
    std::string found;
    bool openFailed = false;              // Unreadable because the file could not be opened
    ShapeForm form = ShapeForm::Unknown;  // the form of the file read
    NodePtr root;         // after an unreadable file, the (empty) root that was read
    RunFigures figures;   // what the steps reported, up to where the run ended
};

// The text of the message box for an unreadable file.
extern const char* const kInvalidFileFormat;  // "Invalid File Format" + CR + explanation

// The message box text for a file that is no shape: kInvalidFileFormat,
// then a line with the path and what was found in its place.
std::string invalidFormatMessage(const std::filesystem::path& chosen, const std::string& found);

// The caption of the progress box while the checks and repairs run.
extern const char* const kCheckingLods;  // "Checking LOD's"

// The first line of the message box for a file that could not be opened.
extern const char* const kCannotOpenFile;  // "The file could not be opened"

// The message box text for a file that could not be opened: the first line,
// then the path and the system's reason.
std::string cannotOpenMessage(const std::filesystem::path& chosen, const std::string& reason);

// The message box text for a shape of a known form that could not be read:
// "Unreadable compressed shape" (binary shape, shape) and the reason with
// where it was found.
std::string unreadableShapeMessage(ShapeForm form, const std::string& reason);

// The message box text for an unreadable file, whichever the reason.
std::string unreadableMessage(const std::filesystem::path& chosen, const RunResult& result);

// The message box text of a run that stopped before writing: its first
// line names the file, the second says why.
std::string stoppedRunMessage(const std::filesystem::path& chosen, const std::string& reason);

// The output path: the chosen path with "fixed" appended directly.
std::filesystem::path outputPathFor(const std::filesystem::path& chosen);

// Prepares the run state for the survey of run.r: empty oversize lists, the
// root's points, vtx_states and prim_states, no fixes made yet.
void prepareRunState(RunState& run);

// For a program that ends right after its run: the run's tree is then left
// to the system at exit instead of being freed block by block (for a large
// shape that takes a sixth of the run). Call before runFix.
void leaveTreesToProcessExit();

// Runs the steps after the file dialog: read, survey, repairs in their fixed
// order, the write decision and the status texts.
RunResult runFix(const std::filesystem::path& chosen, RunView& view, const RunLimits& limits,
                 const RunSwitches& switches);

}  // namespace orvane

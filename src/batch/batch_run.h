#pragma once
// Runs the shapes of a batch, several at once, each through the same fix
// run as a single-file call, and collects one row per shape.

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "batch/shape_list.h"
#include "document/shape_form.h"
#include "findings/find_problems.h"
#include "fixes/run_state.h"
#include "picture/shape_picture_file.h"

namespace orvane::batch {

enum class ShapeOutcome { Ok, Repaired, WouldRepair, Unreadable, Stopped, WriteFailed };

const char* outcomeName(ShapeOutcome outcome);
const char* animationName(RunFigures::Animation animation);

struct ShapeRow {
    std::string path;
    ShapeOutcome outcome = ShapeOutcome::Ok;
    ShapeForm form = ShapeForm::Unknown;  // the form of the file read
    std::optional<std::string> problem;  // for unreadable, stopped and write-failed
    std::optional<RunFigures> figures;   // none for unreadable
    std::optional<std::string> output;   // the written file
    double seconds = 0;
    std::uint64_t bytes = 0;
    // What the simulators trip on, found in the shape as read; none when it
    // was not read (or findings were not asked for).
    std::optional<findings::ShapeFindings> findings;
};

struct BatchSettings {
    RunLimits limits;
    RunSwitches switches;
    int jobs = 1;
    // On POSIX systems, with two jobs or more, the shapes run in worker
    // processes of one thread each; otherwise (and always on Windows) in
    // threads of this process.
    bool workerProcesses = true;
    // Each shape's report lines go to reportsDir / (reportName + ".txt").
    std::optional<std::filesystem::path> reportsDir;
    // Each shape's findings, its textures looked for in its route's or its
    // stock's folder and in these; each folder is listed once per process.
    bool findings = true;
    std::vector<std::filesystem::path> textureDirs;
    std::shared_ptr<findings::TextureFolders> textureListings = std::make_shared<findings::TextureFolders>();
    // Each readable shape's picture goes to picturesDir / (reportName + ".png").
    std::optional<std::filesystem::path> picturesDir;
    picture::PictureRequest picture{480, 300, picture::ViewKind::Iso, 0, 1};
};

struct BatchProgress {
    std::size_t done = 0;
    std::size_t found = 0;
    std::uint64_t bytesDone = 0;
    double seconds = 0;
    std::string current;  // the shape started last
};

class BatchObserver {
public:
    virtual ~BatchObserver() = default;
    // About ten times a second while shapes run, from a thread of its own.
    virtual void progress(const BatchProgress& progress) = 0;
};

struct BatchSummary {
    std::vector<ShapeRow> rows;  // the finished shapes, in the order of the list
    std::size_t found = 0;
    bool interrupted = false;
    double wallSeconds = 0;
    std::vector<std::string> reportFailures;  // report files that could not be written
    std::vector<std::string> pictureFailures;  // pictures not written: the file and why
};

// Runs at most settings.jobs shapes at once (so at most that many trees are
// alive). Once `stop` is set no shape starts, and those under way are
// abandoned at their next keep-alive point with nothing written. With worker
// processes, the caller must run no other thread while this starts them.
BatchSummary runBatch(const std::vector<FoundShape>& shapes, const BatchSettings& settings,
                      const std::atomic<bool>& stop, BatchObserver* observer = nullptr);

// The summary of the rows, one per shape of the list or none for a shape
// that did not finish.
BatchSummary summaryOfRows(std::vector<std::optional<ShapeRow>> rows, double wallSeconds,
                           std::vector<std::string> reportFailures);

// The highest of the single runs' exit statuses; 130 when interrupted.
int batchExitStatus(const BatchSummary& summary);

}  // namespace orvane::batch

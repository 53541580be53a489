#include "batch/shape_job.h"

#include <chrono>
#include <exception>
#include <new>
#include <string_view>

#include "batch/text_file.h"
#include "batch/unreadable_kind.h"
#include "document/path_text.h"
#include "findings/findings_text.h"
#include "run/fix_run.h"

namespace orvane::batch {

namespace {

// Keeps the report lines exactly as the single run prints them, shows
// nothing else, and abandons the run when the batch is stopped.
class CollectingView : public RunView {
public:
    CollectingView(bool keepLines, const std::atomic<bool>& stop, const BatchSettings& settings)
        : keepLines_(keepLines), stop_(stop), settings_(settings) {}

    // Finds the shape's findings when it has been read.
    void findWith(findings::TextureSearch textures) {
        textures_ = std::move(textures);
        findings_ = true;
    }
    std::optional<findings::ShapeFindings> found;

    void addLine(const std::string& line) override {
        if (!keepLines_) return;
        lines.append(line);
        lines.push_back('\n');
    }
    void repaintLines() override {}
    void clearReport() override {}
    void setCaption(const std::string&) override {}
    void pc(float) override { keepAlive(); }
    void prt(const std::string&) override {}
    void showMessage(const std::string&) override {}
    void setBusy(bool) override {}
    void keepAlive() override {
        if (stop_.load(std::memory_order_relaxed)) throw RunCancelled{};
    }

    // The shape as read: its findings and its picture.
    void shapeRead(const clsReader& root) override {
        if (findings_) found = findings::findProblems(root, textures_);
        if (!settings_.picturesDir) return;
        try {
            picture = picture::drawShapePicture(root, settings_.limits, settings_.picture);
        } catch (const std::bad_alloc&) {
            picture.emplace();
            picture->result = {picture::PictureOutcome::WriteFailed, "not enough memory to draw the picture"};
        }
    }

    std::string lines;
    std::optional<picture::EncodedPicture> picture;

private:
    bool findings_ = false;
    findings::TextureSearch textures_;
    bool keepLines_;
    const std::atomic<bool>& stop_;
    const BatchSettings& settings_;
};

// A message of the single run's message box, on one line.
std::string oneLine(std::string text) {
    if (auto cr = text.find('\r'); cr != std::string::npos) text.replace(cr, 1, ": ");
    return text;
}

ShapeOutcome outcomeOf(const RunResult& result) {
    switch (result.outcome) {
        case RunOutcome::Unreadable: return ShapeOutcome::Unreadable;
        case RunOutcome::Stopped: return ShapeOutcome::Stopped;
        case RunOutcome::WriteFailed: return ShapeOutcome::WriteFailed;
        case RunOutcome::Completed:
        case RunOutcome::Cancelled: break;
    }
    if (result.wrote) return ShapeOutcome::Repaired;
    return result.fixesMade ? ShapeOutcome::WouldRepair : ShapeOutcome::Ok;
}

// False when the file could not be written.
bool writeReport(const std::filesystem::path& file, const std::string& text) {
    std::error_code ec;
    std::filesystem::create_directories(file.parent_path(), ec);
    return writeTextFile(file, text) && !ec;
}

// Writes the picture taken of the shape; none when it was written, else the file and why not.
std::optional<std::string> writeShapePicture(const FoundShape& shape, const BatchSettings& settings,
                                             const picture::EncodedPicture& taken) {
    std::filesystem::path file = *settings.picturesDir / shape.reportName;
    file += ".png";
    std::error_code ec;
    std::filesystem::create_directories(file.parent_path(), ec);
    const picture::PictureResult result = picture::writePicture(taken, file);
    if (result.outcome == picture::PictureOutcome::Written) return std::nullopt;
    return genericPathText(file) + ": " + result.problem;
}

}  // namespace

ShapeJobResult runShapeJob(const FoundShape& shape, const BatchSettings& settings, const std::atomic<bool>& stop) {
    ShapeJobResult job;
    if (stop.load()) return job;
    CollectingView view(settings.reportsDir.has_value(), stop, settings);
    if (settings.findings && settings.textureListings)
        view.findWith({settings.textureListings.get(), settings.textureListings->foldersFor(shape.file, settings.textureDirs)});
    const auto start = std::chrono::steady_clock::now();
    RunResult result = runFix(shape.file, view, settings.limits, settings.switches);
    result.root.reset();
    if (result.outcome == RunOutcome::Cancelled && !result.wrote) return job;

    ShapeRow row;
    row.path = shape.path;
    row.bytes = shape.bytes;
    row.outcome = outcomeOf(result);
    row.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    row.form = result.form;
    if (row.outcome == ShapeOutcome::Unreadable && result.openFailed)
        row.problem = std::string(kCannotOpenFile) + ": " + result.problem;
    else if (row.outcome == ShapeOutcome::Unreadable && !result.problem.empty())
        row.problem = oneLine(unreadableShapeMessage(result.form, result.problem));
    else if (row.outcome == ShapeOutcome::Unreadable)
        row.problem = oneLine(kInvalidFileFormat) + " (" + unreadableKind(shape.file) + ")";
    else
        row.figures = result.figures;
    if (row.outcome == ShapeOutcome::Stopped || row.outcome == ShapeOutcome::WriteFailed) row.problem = result.problem;
    if (result.wrote) row.output = genericPathText(result.output);
    row.findings = std::move(view.found);
    job.report = std::move(view.lines);
    // The report file lists the findings after the report.
    if (row.findings && settings.reportsDir) job.report += findings::findingsText(*row.findings);
    job.row = std::move(row);
    job.picture = std::move(view.picture);
    return job;
}

FinishedShape runShape(const FoundShape& shape, const BatchSettings& settings, const std::atomic<bool>& stop) {
    ShapeJobResult job;
    try {
        job = runShapeJob(shape, settings, stop);
    } catch (const std::exception& e) {
        // The run itself turns bad content into an outcome; this is the last
        // guard of the other shapes.
        job.row.emplace();
        job.row->path = shape.path;
        job.row->bytes = shape.bytes;
        job.row->outcome = ShapeOutcome::Stopped;
        job.row->problem = e.what();
    }
    FinishedShape finished;
    if (job.row && settings.reportsDir) {
        std::filesystem::path file = *settings.reportsDir / shape.reportName;
        file += ".txt";
        if (!writeReport(file, job.report)) finished.reportFailure = genericPathText(file);
    }
    if (job.row && job.picture && settings.picturesDir)
        finished.pictureFailure = writeShapePicture(shape, settings, *job.picture);
    finished.row = std::move(job.row);
    return finished;
}

}  // namespace orvane::batch

#include "cli/batch_mode.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

#include "batch/batch_run.h"
#include "batch/summary_format.h"
#include "batch/text_file.h"
#include "cli/console.h"
#include "cli/interrupt.h"
#include "cli/picture_option.h"
#include "document/path_text.h"

namespace orvane::cli {

namespace {

// The end of a UTF-8 text in at most about `most` characters.
std::string tail(const std::string& text, std::size_t most) {
    if (text.size() <= most) return text;
    std::size_t start = text.size() - most;
    while (start < text.size() && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80) ++start;
    return "..." + text.substr(start);
}

// One progress line on a terminal's error stream, redrawn in place; short
// enough for an 80-column terminal.
class ProgressLine : public batch::BatchObserver {
public:
    void progress(const batch::BatchProgress& p) override {
        const double rate = p.seconds > 0 ? static_cast<double>(p.bytesDone) / 1e6 / p.seconds : 0;
        char head[96];
        std::snprintf(head, sizeof head, "\r\033[K%zu of %zu shapes, %.1f MB/s, ", p.done, p.found, rate);
        writeError(std::string(head) + tail(p.current, 30));
        shown_ = true;
    }
    ~ProgressLine() override {
        if (shown_) writeError("\r\033[K");
    }

private:
    bool shown_ = false;
};

batch::SummaryFormat summaryFormat(const std::string& name) {
    if (name == "csv") return batch::SummaryFormat::Csv;
    if (name == "json") return batch::SummaryFormat::Json;
    return batch::SummaryFormat::Table;
}

}  // namespace

bool isBatchRun(const CliOptions& options) {
    if (options.paths.size() > 1 || options.batchOption) return true;
    std::error_code ec;
    return std::filesystem::is_directory(pathFromText(options.file), ec);
}

int runBatchMode(const CliOptions& options) {
    std::string error;
    const auto shapes = batch::findShapes(options.paths, error);
    if (!shapes) {
        writeError("orvane-cli: " + error + "\n" + kUsage);
        return 2;
    }
    batch::BatchSettings settings;
    settings.limits = options.limits;
    settings.switches = options.switches;
    settings.jobs = options.jobs > 0 ? options.jobs : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    if (!options.reportsDir.empty()) settings.reportsDir = pathFromText(options.reportsDir);
    for (const std::string& dir : options.textureDirs) settings.textureDirs.push_back(pathFromText(dir));
    if (!options.picturesDir.empty()) {
        settings.picturesDir = pathFromText(options.picturesDir);
        settings.picture = pictureRequest(options, 480, 300);
        settings.picture.threads = 1;  // the shapes themselves run side by side
    }

    const std::atomic<bool>& stop = catchInterrupt();
    batch::BatchSummary summary;
    {
        ProgressLine progress;
        summary = batch::runBatch(*shapes, settings, stop, isTerminal(stderr) ? &progress : nullptr);
    }
    for (const std::string& file : summary.reportFailures) writeError("orvane-cli: could not write the report " + file + "\n");
    for (const std::string& failure : summary.pictureFailures) writeError("orvane-cli: no picture written to " + failure + "\n");

    const std::string text = batch::formatSummary(summary, summaryFormat(options.format));
    int status = batch::batchExitStatus(summary);
    if (options.summaryFile.empty()) {
        writeTo(stdout, text);
        std::fflush(stdout);
    } else if (!batch::writeTextFile(pathFromText(options.summaryFile), text)) {
        writeError("orvane-cli: could not write the summary " + options.summaryFile + "\n");
        if (status != 130) status = std::max(status, 4);
    }
    return status;
}

}  // namespace orvane::cli

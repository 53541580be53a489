// orvane-cli: the fix run without a window, for scripts and batches.

#include <algorithm>
#include <cmath>
#include <optional>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/batch_mode.h"
#include "cli/cli_options.h"
#include "cli/console.h"
#include "document/path_text.h"
#include "findings/find_problems.h"
#include "findings/findings_text.h"
#include "cli/picture_option.h"
#include "orvane_version.h"
#include "run/fix_run.h"

namespace {

using namespace orvane;

// Report lines go to standard output as they are made; progress goes to
// standard error only when that is a terminal.
class ConsoleView : public RunView {
public:
    explicit ConsoleView(cli::PictureOption* picture) : showProgress_(cli::isTerminal(stderr)), picture_(picture) {}

    void addLine(const std::string& line) override {
        cli::writeTo(stdout, line + '\n');
    }
    void repaintLines() override {}
    void clearReport() override {}
    void setCaption(const std::string& caption) override {
        caption_ = caption;
        checking_ = caption == kCheckingLods;
    }
    void pc(float p) override {
        // The terminal shows the reading and the writing; the checks show
        // their report lines.
        if (!showProgress_ || checking_) return;
        long whole = std::lround(std::nearbyint(p));
        if (whole == lastShown_) return;
        lastShown_ = whole;
        char percent[16];
        std::snprintf(percent, sizeof percent, " %3ld%%", whole);
        cli::writeError("\r" + caption_ + percent);
    }
    void prt(const std::string& text) override {
        if (!showProgress_) return;
        lastShown_ = -1;
        cli::writeError("\r\033[K" + text + "\n");
    }
    void showMessage(const std::string& text) override {
        if (showProgress_) cli::writeError("\r\033[K");
        std::string lines = text;
        for (char& c : lines)
            if (c == '\r') c = '\n';
        cli::writeError(lines + "\n");
    }
    void setBusy(bool) override {}

    // With --findings: the findings of the shape as read, for after the report.
    void findFor(const std::filesystem::path& file, const std::vector<std::string>& textureDirs) {
        std::vector<std::filesystem::path> given;
        for (const std::string& dir : textureDirs) given.push_back(pathFromText(dir));
        textures_ = {&listings_, listings_.foldersFor(file, given)};
        findings_ = true;
    }
    // The shape as read: its findings and its picture.
    void shapeRead(const clsReader& root) override {
        if (findings_) found_ = findings::findProblems(root, textures_);
        if (picture_) picture_->take(root);
    }
    // Nothing when the shape was not read.
    void printFindings() const {
        if (found_) cli::writeTo(stdout, findings::findingsText(*found_));
    }

private:
    bool findings_ = false;
    findings::TextureFolders listings_;
    findings::TextureSearch textures_;
    std::optional<findings::ShapeFindings> found_;
    bool showProgress_;
    cli::PictureOption* picture_;
    std::string caption_;
    bool checking_ = false;
    long lastShown_ = -1;
};

int exitStatus(RunOutcome outcome) {
    switch (outcome) {
        case RunOutcome::Completed: return 0;
        case RunOutcome::Unreadable: return 1;
        case RunOutcome::Stopped: return 3;
        case RunOutcome::WriteFailed: return 4;
        case RunOutcome::Cancelled: return 3;
    }
    return 3;
}

}  // namespace

int main(int argc, char** argv) {
    cli::prepareStandardStreams();
    std::vector<std::string> args = cli::commandLineArguments(argc, argv);
    std::string error;
    auto options = cli::parseArguments(args, error);
    if (!options) {
        cli::writeError("orvane-cli: " + error + "\n" + cli::kUsage);
        return 2;
    }
    if (options->help) {
        std::fputs(cli::kUsage, stdout);
        return 0;
    }
    if (options->version) {
        std::fputs("orvane-cli " ORVANE_VERSION "\n", stdout);
        return 0;
    }
    if (cli::isBatchRun(*options)) {
        if (!options->pictureFile.empty()) {
            cli::writeError("orvane-cli: option --picture draws a single FILE; in batch mode use --pictures DIR\n" +
                            std::string(cli::kUsage));
            return 2;
        }
        return cli::runBatchMode(*options);
    }
    std::optional<cli::PictureOption> picture;
    if (!options->pictureFile.empty()) picture.emplace(*options);
    ConsoleView view(picture ? &*picture : nullptr);
    if (options->findings) view.findFor(pathFromText(options->file), options->textureDirs);
    leaveTreesToProcessExit();
    RunResult result = runFix(pathFromText(options->file), view, options->limits, options->switches);
    view.printFindings();
    std::fflush(stdout);
    int status = exitStatus(result.outcome);
    // A file that could not be read has no picture.
    if (picture && result.outcome != RunOutcome::Unreadable && result.outcome != RunOutcome::Cancelled &&
        !picture->write())
        status = std::max(status, 4);
    return status;
}

// orvane-cli: the fix run without a window, for scripts and batches.

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/batch_mode.h"
#include "cli/cli_options.h"
#include "run/fix_run.h"

namespace {

using namespace orvane;

// Report lines go to standard output as they are made; progress goes to
// standard error only when that is a terminal.
class ConsoleView : public RunView {
public:
    ConsoleView() : showProgress_(isatty(STDERR_FILENO) == 1) {}

    void addLine(const std::string& line) override {
        std::fwrite(line.data(), 1, line.size(), stdout);
        std::fputc('\n', stdout);
    }
    void repaintLines() override {}
    void clearReport() override {}
    void setCaption(const std::string& caption) override { caption_ = caption; }
    void pc(float p) override {
        if (!showProgress_) return;
        long whole = std::lround(std::nearbyint(p));
        if (whole == lastShown_) return;
        lastShown_ = whole;
        std::fprintf(stderr, "\r%s %3ld%%", caption_.c_str(), whole);
        std::fflush(stderr);
    }
    void prt(const std::string& text) override {
        if (!showProgress_) return;
        lastShown_ = -1;
        std::fprintf(stderr, "\r\033[K%s\n", text.c_str());
    }
    void showMessage(const std::string& text) override {
        if (showProgress_) std::fputs("\r\033[K", stderr);
        std::string lines = text;
        for (char& c : lines)
            if (c == '\r') c = '\n';
        std::fprintf(stderr, "%s\n", lines.c_str());
    }
    void setBusy(bool) override {}

private:
    bool showProgress_;
    std::string caption_;
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
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    auto options = cli::parseArguments(args, error);
    if (!options) {
        std::fprintf(stderr, "orvane-cli: %s\n%s", error.c_str(), cli::kUsage);
        return 2;
    }
    if (options->help) {
        std::fputs(cli::kUsage, stdout);
        return 0;
    }
    if (cli::isBatchRun(*options)) return cli::runBatchMode(*options);
    ConsoleView view;
    RunResult result = runFix(options->file, view, options->limits, options->switches);
    std::fflush(stdout);
    return exitStatus(result.outcome);
}

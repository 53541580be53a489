#include "ui/run_thread.h"

#include <exception>

namespace orvane::ui {

// The run's screen on the run's thread: everything goes to the queue.
class RunThread::View final : public RunView {
public:
    explicit View(RunThread& owner) : owner_(owner) {}

    void addLine(const std::string& line) override { owner_.addLine(line); }
    void repaintLines() override {}
    void clearReport() override { owner_.push({RunUpdate::Kind::ClearReport, {}, {}}); }
    void setCaption(const std::string& caption) override {
        owner_.step(caption);
        owner_.push({RunUpdate::Kind::Caption, QString::fromStdString(caption), {}});
    }
    void pc(float p) override {
        owner_.throwIfStopping();
        RunUpdate update{RunUpdate::Kind::Percent, {}, {}};
        update.percent = p;
        owner_.push(std::move(update));
    }
    void prt(const std::string& text) override {
        owner_.step(text);
        owner_.throwIfStopping();
        owner_.push({RunUpdate::Kind::Status, QString::fromStdString(text), {}});
    }
    void showMessage(const std::string& text) override {
        owner_.push({RunUpdate::Kind::Message, QString::fromStdString(text), {}});
    }
    // The window keeps the busy pointer for the length of the run itself.
    void setBusy(bool) override {}
    void keepAlive() override { owner_.throwIfStopping(); }
    void runStopped(const std::string& message) override {
        owner_.push({RunUpdate::Kind::Stopped, QString::fromStdString(message), {}});
    }

private:
    RunThread& owner_;
};

RunThread::RunThread(QObject* parent) : QObject(parent) {}

RunThread::~RunThread() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

void RunThread::start(const std::filesystem::path& chosen, const RunLimits& limits, const RunSwitches& switches) {
    if (thread_.joinable()) thread_.join();  // the last run has signalled its end already
    stop_ = false;
    running_ = true;
    thread_ = std::thread([this, chosen, limits, switches] {
        View view(*this);
        RunResult result;
        try {
            result = runFix(chosen, view, limits, switches);
        } catch (const std::exception& e) {
            // What the run does not handle itself still ends it in order.
            const std::string message = stoppedRunMessage(chosen, e.what());
            view.runStopped(message);
            view.showMessage(message);
            result.outcome = RunOutcome::Stopped;
            result.problem = e.what();
        }
        {
            std::lock_guard lock(mutex_);
            result_ = std::move(result);
        }
        QMetaObject::invokeMethod(this, &RunThread::finish, Qt::QueuedConnection);
    });
}

void RunThread::finish() {
    running_ = false;
    if (thread_.joinable()) thread_.join();
    emit finished();
}

void RunThread::push(RunUpdate update) {
    bool signal = false;
    {
        std::lock_guard lock(mutex_);
        // A percentage replaces the one before it.
        if (!updates_.empty() && updates_.back().kind == update.kind && update.kind == RunUpdate::Kind::Percent) {
            updates_.back().percent = update.percent;
        } else {
            updates_.push_back(std::move(update));
        }
        signal = !signalled_;
        signalled_ = true;
    }
    if (signal) emit updatesReady();
}

void RunThread::addLine(const std::string& line) {
    bool signal = false;
    {
        std::lock_guard lock(mutex_);
        // Lines that follow lines join their batch.
        if (updates_.empty() || updates_.back().kind != RunUpdate::Kind::Lines ||
            updates_.back().lines.text.size() >= LineBatch::kMostText)
            updates_.push_back({RunUpdate::Kind::Lines, {}, {}});
        updates_.back().lines.add(line);
        signal = !signalled_;
        signalled_ = true;
    }
    if (signal) emit updatesReady();
}

void RunThread::step(const std::string& text) {
    if (stepHook_) stepHook_(text);
}

void RunThread::throwIfStopping() const {
    if (stop_) throw RunCancelled{};
}

std::vector<RunUpdate> RunThread::takeUpdates() {
    std::lock_guard lock(mutex_);
    signalled_ = false;
    return std::exchange(updates_, {});
}

RunResult RunThread::takeResult() {
    std::lock_guard lock(mutex_);
    return std::exchange(result_, {});
}

}  // namespace orvane::ui

#include "ui/run_thread.h"

#include <exception>

#include "fixes/repair_trace.h"

namespace orvane::ui {

// The run's screen on the run's thread: everything goes to the queue.
class RunThread::View final : public RunView {
public:
    View(RunThread& owner, const std::filesystem::path& chosen, const RunLimits& limits)
        : owner_(owner), limits_(limits) {
        shape_->file = chosen;
    }

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

    // The view keeps the triangles of every LOD as read and, after a write,
    // as written: ready when the run ends, whatever it did to the tree.
    void shapeRead(const clsReader& root) override {
        shape_->original = allLods(root, nullptr);
        findings::TextureFolders listings;
        shape_->problems = findings::findProblems(root, {&listings, listings.foldersFor(shape_->file, {})});
    }
    RepairTrace* repairTrace() override { return &trace_; }
    void shapeWritten(const clsReader& root) override { shape_->repaired = allLods(root, &trace_); }

    // The shape, once something was read.
    std::shared_ptr<ViewShape> shape() const { return shape_->original.empty() ? nullptr : shape_; }

private:
    std::vector<geometry::LodGeometry> allLods(const clsReader& root, const RepairTrace* trace) const {
        std::vector<geometry::LodGeometry> lods;
        const std::int32_t count = geometry::lodCount(root);
        lods.reserve(static_cast<std::size_t>(std::max(count, 0)));
        for (std::int32_t lod = 0; lod < count; ++lod) {
            owner_.throwIfStopping();
            lods.push_back(geometry::buildLodGeometry(root, lod, limits_, trace));
        }
        return lods;
    }

    RunThread& owner_;
    const RunLimits limits_;
    std::shared_ptr<ViewShape> shape_ = std::make_shared<ViewShape>();
    RepairTrace trace_;
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
        View view(*this, chosen, limits);
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
            shape_ = view.shape();
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

std::shared_ptr<const ViewShape> RunThread::takeShape() {
    std::lock_guard lock(mutex_);
    return std::exchange(shape_, nullptr);
}

RunResult RunThread::takeResult() {
    std::lock_guard lock(mutex_);
    return std::exchange(result_, {});
}

}  // namespace orvane::ui

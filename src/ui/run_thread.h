#pragma once
// A fix run on a thread of its own, so that the window answers at all times.
// What the run shows (report lines, captions, percentages, status texts,
// messages) is queued in order and handed to the window's thread in batches:
// one queued signal whenever the queue stops being empty, however many lines
// the run adds meanwhile. The window asks the run to stop; the run ends at its
// next step, leaving nothing partial.

#include <QObject>
#include <QString>
#include <QStringList>
#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "run/fix_run.h"
#include "ui/report_lines.h"
#include "ui/view_shape.h"

namespace orvane::ui {

// One thing the run showed, in the order it showed it.
struct RunUpdate {
    enum class Kind {
        ClearReport,
        Lines,    // lines: report lines to append
        Caption,  // text: the progress box's caption
        Percent,  // percent: the progress box at this percentage
        Status,   // text: a status text in the progress box
        Stopped,  // text: why the run stopped before writing (lines split by '\r')
        Message,  // text: a message box for the user, shown once the run has ended
    };
    Kind kind;
    QString text;
    LineBatch lines;
    float percent = 0.0f;
};

class RunThread : public QObject {
    Q_OBJECT

public:
    explicit RunThread(QObject* parent = nullptr);
    // Asks a run still going to stop, and waits for it.
    ~RunThread() override;

    void start(const std::filesystem::path& chosen, const RunLimits& limits, const RunSwitches& switches);
    // The run ends at its next step; finished still follows.
    void requestStop() { stop_ = true; }
    bool running() const { return running_; }

    // What the run showed since the last call, in order.
    std::vector<RunUpdate> takeUpdates();
    // The run's result, once finished has been signalled.
    RunResult takeResult();
    // The shape the run read, for the view (none for an unreadable file),
    // once finished has been signalled.
    std::shared_ptr<const ViewShape> takeShape();

    // For tests: called on the run's thread with each caption and status text
    // before it is queued; it may hold the run there.
    void setStepHook(std::function<void(const std::string&)> hook) { stepHook_ = std::move(hook); }

signals:
    // Updates are waiting; sent once until they are taken.
    void updatesReady();
    // The run has ended: every update is queued and the result is ready.
    void finished();

private:
    class View;
    friend class View;

    void push(RunUpdate update);
    void addLine(const std::string& line);
    void step(const std::string& text);
    void throwIfStopping() const;
    void finish();

    std::thread thread_;
    std::atomic<bool> stop_{false};
    bool running_ = false;  // the window's thread alone reads and writes it
    std::function<void(const std::string&)> stepHook_;

    std::mutex mutex_;
    std::vector<RunUpdate> updates_;
    bool signalled_ = false;
    RunResult result_;
    std::shared_ptr<const ViewShape> shape_;
};

}  // namespace orvane::ui

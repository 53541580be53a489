#pragma once
// The program's one window: the three switches, the three limits with
// their "..." buttons, the "Select Model" button that starts a fix run, the
// report list, the progress box and "Close". It keeps the limits, which
// persist through the settings store. A fix run goes on a thread of its own
// (RunThread); the window shows what the run sends it and answers at all
// times. A shape file given on the command line or dropped on the window is
// run as if chosen with "Select Model".

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "document/cls_reader.h"
#include "platform/platform.h"
#include "run/fix_run.h"
#include "ui/view_shape.h"

class QAction;
class QCheckBox;
class QLabel;
class QModelIndex;
class QPushButton;
class QTimer;

namespace orvane::ui {

class ProgressBox;
class ReportList;
class RunThread;
class ViewWindow;

class frmUpdate : public QWidget {
    Q_OBJECT

public:
    explicit frmUpdate(const platform::Platform& platform, QWidget* parent = nullptr);
    ~frmUpdate() override;

    // The report list and the progress box, on the window's thread.
    void addLine(const std::string& line);
    void clearReport();
    void setCaption(const std::string& caption);
    void pc(float p);
    void prt(const std::string& text);
    void showMessage(const std::string& text);

    // The root's progress (a fraction 0..1), drawn as a percentage.
    void r_Progress(float percent) { pc(percent * 100.0f); }

    // Starts the fix run on a chosen file; ignored while a run is going on.
    // Returns at once: the run goes on on its own thread.
    void runFile(const std::filesystem::path& chosen);
    bool isRunning() const { return running_; }

    // For tests: called on the run's thread with each caption and status
    // text of the runs started from now on; it may hold the run there.
    void setRunStepHook(std::function<void(const std::string&)> hook);

    // The view of the last run's shape, opened by "View" or by double-clicking
    // a report line that names a place; none before it was first opened.
    ViewWindow* view() const;

signals:
    // A run has ended, whatever ended it, and its messages were shown.
    void runEnded();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private slots:
    void cmd_Click();
    void cmdEnd_Click();
    void cmdprim_Click();
    void cmdface_Click();
    void cmdMin_Click();
    void cmdView_Click();
    // A double-clicked report line that names a place opens the view on it.
    void reportLineActivated(const QModelIndex& index);

private:
    void createControls();
    void Form_Load();
    void showLimits();
    // Asks for a limit until the entry is taken, cancelled or left empty;
    // a refused entry says what the box takes and is offered again.
    template <class Entry>
    auto askLimit(std::size_t index, const std::string& current, Entry entry) -> decltype(entry(std::string()));
    // "Select Model", the three "..." buttons, the three switches and the
    // list's dialogs are off for the length of a run.
    void setRunning(bool running);
    // "Save Report As..." is on when no run goes on and the list has lines.
    void updateSaveAction();
    void saveReportAs();
    void showAbout();
    // The view window, made and shown; with the last run's shape.
    ViewWindow& openView();

    // What the run has sent, applied at most every few milliseconds so that
    // a run of millions of lines does not flood the window.
    void scheduleUpdates();
    void applyUpdates();
    void runFinished();
    // The run ended without a report of its own: the list holds the reason.
    void showRunStopped(const QString& message, const QString& status);

    platform::Platform platform_;  // the services; their owner outlives the window

    QCheckBox* chkReport = nullptr;
    QCheckBox* chkAnims = nullptr;
    QCheckBox* chkPoly = nullptr;
    QPushButton* cmd = nullptr;
    std::array<QLabel*, 3> lbl{};
    QPushButton* cmdprim = nullptr;
    QPushButton* cmdface = nullptr;
    QPushButton* cmdMin = nullptr;
    ReportList* lst = nullptr;
    ProgressBox* picPerc = nullptr;
    QPushButton* cmdEnd = nullptr;
    QPushButton* cmdView = nullptr;
    // The report list's context menu entries that open a dialog.
    QAction* saveReportAction = nullptr;
    QAction* aboutAction = nullptr;

    std::int32_t maxPrimFaces = kDefaultMaxPrimFaces;
    std::int32_t maxObjectPolys = kDefaultMaxObjectPolys;
    float minEdgeSqr = kDefaultMinEdgeSqr;
    // The minimum edge as the user typed it; empty when not known.
    std::string minEdgeText_;

    RunThread* runThread_ = nullptr;
    QTimer* updateTimer_ = nullptr;
    QElapsedTimer sinceUpdates_;
    // Message boxes of the run, shown once it has ended.
    std::vector<QString> runMessages_;

    // The root of the last run that was not released (after an unreadable file).
    NodePtr r;
    // The file dialog's starting name: "*.s", then the last chosen path.
    std::filesystem::path lastChosen_;
    // The folder of the last shape chosen, also from an earlier start.
    std::filesystem::path lastFolder_;
    // The shape of the run going on, and the shape the report list is about.
    std::filesystem::path runShape_;
    std::filesystem::path reportShape_;
    bool running_ = false;
    // The shape the last run read, for the view; none after an unreadable file.
    std::shared_ptr<const ViewShape> shape_;
    QPointer<ViewWindow> view_;
    QPointer<QWidget> focusBeforeRun_;
    // The user left during a run: the program ends when the run has stopped.
    bool leaving_ = false;
};

}  // namespace orvane::ui

#pragma once
// The program's one window: the three switches, the three limits with
// their "..." buttons, the "Select Model" button that starts a fix run, the
// report list, the progress box and "Close". It is the screen of a run
// (RunView) and keeps the limits, which persist through the settings store.
// A shape file given on the command line or dropped on the window is run as
// if chosen with "Select Model".

#include <QWidget>
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

#include "document/cls_reader.h"
#include "platform/platform.h"
#include "run/fix_run.h"

class QAction;
class QCheckBox;
class QLabel;
class QPushButton;

namespace orvane::ui {

class ProgressBox;
class ReportList;

class frmUpdate : public QWidget, public RunView {
    Q_OBJECT

public:
    explicit frmUpdate(const platform::Platform& platform, QWidget* parent = nullptr);
    ~frmUpdate() override;

    // RunView: the report list and the progress box.
    void addLine(const std::string& line) override;
    // Shows the report list's lines at once (the list only, not the window).
    void repaintLines() override;
    void clearReport() override;
    void setCaption(const std::string& caption) override;
    // pc and prt end a run the user has left by throwing RunCancelled.
    void pc(float p) override;
    void prt(const std::string& text) override;
    void showMessage(const std::string& text) override;
    void setBusy(bool busy) override;
    void keepAlive() override;

    void runStopped(const std::string& message) override;

    // The root's progress (a fraction 0..1), drawn as a percentage.
    void r_Progress(float percent) { pc(percent * 100.0f); }

    // The fix run on a chosen file; ignored while a run is going on.
    void runFile(const std::filesystem::path& chosen);

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

private:
    void createControls();
    void Form_Load();
    void showLimits();
    void throwIfLeaving() const;
    // "Select Model", the three "..." buttons, the three switches and the
    // list's dialogs are off for the length of a run.
    void setRunning(bool running);
    // "Save Report As..." is on when no run goes on and the list has lines.
    void updateSaveAction();
    void saveReportAs();
    void showAbout();

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
    // The report list's context menu entries that open a dialog.
    QAction* saveReportAction = nullptr;
    QAction* aboutAction = nullptr;

    std::int32_t maxPrimFaces = kDefaultMaxPrimFaces;
    std::int32_t maxObjectPolys = kDefaultMaxObjectPolys;
    float minEdgeSqr = kDefaultMinEdgeSqr;

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
    // The user left during a run: the run ends at its next yield.
    bool leaving_ = false;
};

}  // namespace orvane::ui

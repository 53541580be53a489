#include "ui/frm_update.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QLocale>
#include <QMimeData>
#include <QPushButton>
#include <QStringList>
#include <QTimer>
#include <algorithm>
#include <exception>
#include <iterator>

#include "document/numbers.h"
#include "document/path_text.h"
#include "orvane_version.h"
#include "platform/app_icon.h"
#include "platform/path_conversion.h"
#include "ui/last_folder.h"
#include "ui/limits.h"
#include "ui/progress_box.h"
#include "ui/report_file.h"
#include "ui/report_list.h"
#include "ui/view_window.h"
#include "ui/run_thread.h"

// The icon lives in the library's resources; a static library must register them.
static void initIconResource() { Q_INIT_RESOURCE(orvane); }

namespace orvane::ui {

namespace {

// The layout is given in twips; the window works in pixels.
constexpr int kTwipsPerPixel = 15;

QRect fromTwips(int left, int top, int width, int height) {
    return QRect(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel, height / kTwipsPerPixel);
}

// Puts a control at its fixed place, with its name and tool tip.
template <class Control>
Control* place(Control* control, const char* name, QRect where, const std::string& toolTip = {}) {
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(where);
    if (!toolTip.empty()) control->setToolTip(QString::fromStdString(toolTip));
    return control;
}

// Enter presses the button that has the focus, as Space does.
QPushButton* button(QWidget* parent, const char* caption) {
    auto* result = new QPushButton(QString::fromUtf8(caption), parent);
    result->setAutoDefault(true);
    return result;
}

QCheckBox* checkBox(QWidget* parent, const char* caption) {
    return new QCheckBox(QString::fromUtf8(caption), parent);
}

QLabel* label(QWidget* parent) {
    auto* result = new QLabel(parent);
    result->setTextFormat(Qt::PlainText);
    return result;
}

// The run's updates reach the list and the box at most this often.
constexpr int kUpdateIntervalMs = 40;

// The system's decimal separator, when it is one character.
char systemDecimalPoint() {
    const QString point = QLocale().decimalPoint();
    return point.size() == 1 && point[0].unicode() < 128 ? char(point[0].unicode()) : '.';
}

// The file dialogs of some systems cannot open a folder whose path is this long.
constexpr qsizetype kLongestDialogFolder = 259;

}  // namespace

frmUpdate::frmUpdate(const platform::Platform& platform, QWidget* parent) : QWidget(parent), platform_(platform) {
    setWindowTitle(QString::fromUtf8(kAppTitle));
    // The fixed control sizes were made for a small 8-point dialog font.
    QFont dialogFont = font();
    dialogFont.setPixelSize(11);
    dialogFont.setStretch(QFont::SemiCondensed);
    setFont(dialogFont);
    initIconResource();
    setWindowIcon(platform::applicationIcon());
    setAcceptDrops(true);
    createControls();

    runThread_ = new RunThread(this);
    updateTimer_ = new QTimer(this);
    updateTimer_->setSingleShot(true);
    sinceUpdates_.start();
    connect(runThread_, &RunThread::updatesReady, this, &frmUpdate::scheduleUpdates, Qt::QueuedConnection);
    connect(updateTimer_, &QTimer::timeout, this, &frmUpdate::applyUpdates);
    connect(runThread_, &RunThread::finished, this, &frmUpdate::runFinished, Qt::QueuedConnection);
    Form_Load();
}

frmUpdate::~frmUpdate() = default;

void frmUpdate::createControls() {
    // The controls stand at fixed places, so the window keeps its size: no
    // resizing and no maximise button.
    setFixedSize(fromTwips(0, 0, 11130, 7785).size());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    chkReport = place(checkBox(this, "&Report Only"), "chkReport", fromTwips(180, 120, 1335, 315),
                      "If checked, no file will be created.");
    chkAnims = place(checkBox(this, "Check &Animations"), "chkAnims", fromTwips(1680, 120, 1875, 315),
                     "If checked, the animation FPS will be normalized to 8/30");
    chkPoly = place(checkBox(this, "Make Small &Polys Visible"), "chkPoly", fromTwips(3720, 120, 2355, 315),
                    "If checked, the points that make up an edge less than min size will be moved up by 1 "
                    "meter and can be seen in the shape viewer.");
    cmd = place(button(this, "&Select Model"), "cmd", fromTwips(8460, 420, 2295, 435),
                "Select the S file: text, compressed or binary");
    // The first two tool tips stand as they always have: each describes the other label's limit.
    lbl[0] = place(label(this), "lbl0", fromTwips(180, 540, 2115, 255), limitToolTips()[0]);
    cmdprim = place(button(this, "..."), "cmdprim", fromTwips(2340, 480, 375, 375),
                    "Change the maximum faces per primitive");
    lbl[1] = place(label(this), "lbl1", fromTwips(2760, 540, 2115, 255), limitToolTips()[1]);
    cmdface = place(button(this, "..."), "cmdface", fromTwips(4920, 480, 375, 375),
                    "Change the maximum polygons per sub-object");
    lbl[2] = place(label(this), "lbl2", fromTwips(5340, 540, 2115, 255));
    cmdMin = place(button(this, "..."), "cmdMin", fromTwips(7500, 480, 375, 375), "Change the minimum edge size");
    lst = place(new ReportList(this), "lst", fromTwips(60, 900, 10935, 6300));
    picPerc = place(new ProgressBox(this), "picPerc", fromTwips(60, 7260, 9795, 435));
    cmdEnd = place(button(this, "&Close"), "cmdEnd", fromTwips(9960, 7260, 1095, 435));
    // In the free corner above "Select Model", so no other control moves.
    cmdView = place(button(this, "&View"), "cmdView", fromTwips(9960, 45, 1095, 345),
                    "Show the shape of the last run with its findings placed on it");
    cmdView->setEnabled(false);

    chkAnims->setChecked(true);

    // The progress box only shows; it takes no focus.
    QWidget* const tabOrder[] = {cmd,     cmdEnd,  lst,    chkReport, chkAnims, chkPoly, lbl[0],
                                 cmdprim, lbl[1], cmdface, lbl[2],    cmdMin,   cmdView};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);
    cmd->setFocus();

    connect(cmd, &QPushButton::clicked, this, &frmUpdate::cmd_Click);
    connect(cmdEnd, &QPushButton::clicked, this, &frmUpdate::cmdEnd_Click);
    connect(cmdprim, &QPushButton::clicked, this, &frmUpdate::cmdprim_Click);
    connect(cmdface, &QPushButton::clicked, this, &frmUpdate::cmdface_Click);
    connect(cmdMin, &QPushButton::clicked, this, &frmUpdate::cmdMin_Click);
    connect(cmdView, &QPushButton::clicked, this, &frmUpdate::cmdView_Click);
    connect(lst, &ReportList::doubleClicked, this, &frmUpdate::reportLineActivated);

    // The list's context menu: its own copy actions, then these.
    saveReportAction = new QAction(tr("&Save Report As..."), lst);
    saveReportAction->setShortcut(QKeySequence::Save);
    saveReportAction->setShortcutContext(Qt::WindowShortcut);
    connect(saveReportAction, &QAction::triggered, this, &frmUpdate::saveReportAs);
    aboutAction = new QAction(tr("A&bout Orvane"), lst);
    connect(aboutAction, &QAction::triggered, this, &frmUpdate::showAbout);
    auto* separator = new QAction(lst);
    separator->setSeparator(true);
    lst->addActions({saveReportAction, separator, aboutAction});
    connect(lst, &ReportList::hasLinesChanged, this, &frmUpdate::updateSaveAction);
    updateSaveAction();
}

void frmUpdate::Form_Load() {
    const RunLimits limits = loadLimits(platform_.settings);
    maxPrimFaces = limits.maxPrimFaces;
    maxObjectPolys = limits.maxObjectPolys;
    minEdgeSqr = limits.minEdgeSqr;
    minEdgeText_ = loadEdgeText(platform_.settings, minEdgeSqr);
    lastFolder_ = loadLastFolder(platform_.settings);
    showLimits();
}

// Each label shows its whole caption; a number too wide for the label is
// shown in a shorter form, and the tool tip then gives it exactly.
void frmUpdate::showLimits() {
    const auto captions = limitCaptions(RunLimits{maxPrimFaces, maxObjectPolys, minEdgeSqr}, minEdgeText_);
    const auto baseToolTips = limitToolTips();
    for (std::size_t i = 0; i < lbl.size(); ++i) {
        const QString exact = QString::fromStdString(captions[i].text + captions[i].number);
        const QFontMetrics metrics = lbl[i]->fontMetrics();
        const int room = lbl[i]->contentsRect().width();
        QString shown = exact;
        if (metrics.horizontalAdvance(shown) > room) {
            for (const std::string& number : shortenedNumbers(captions[i].number)) {
                shown = QString::fromStdString(captions[i].text + number);
                if (metrics.horizontalAdvance(shown) <= room) break;
            }
        }
        lbl[i]->setText(shown);
        QString toolTip = i < baseToolTips.size() ? QString::fromStdString(baseToolTips[i]) : QString();
        if (shown != exact) toolTip = toolTip.isEmpty() ? exact : toolTip + u'\n' + exact;
        lbl[i]->setToolTip(toolTip);
    }
}

template <class Entry>
auto frmUpdate::askLimit(std::size_t index, const std::string& current, Entry entry)
    -> decltype(entry(std::string())) {
    std::string offered = current;
    for (;;) {
        const std::string typed = platform_.inputBox.inputBox(limitPrompts()[index], kAppTitle, offered);
        if (typed.find_first_not_of(" \t") == std::string::npos) return {};
        if (auto value = entry(typed)) return value;
        showMessage(limitRules()[index]);
        offered = typed;
    }
}

void frmUpdate::cmdprim_Click() {
    const char point = systemDecimalPoint();
    if (auto value = askLimit(0, wholeText(maxPrimFaces), [point](const std::string& text) {
            return wholeNumberEntry(text, point);
        }))
        maxPrimFaces = *value;
    showLimits();
}

void frmUpdate::cmdface_Click() {
    const char point = systemDecimalPoint();
    if (auto value = askLimit(1, wholeText(maxObjectPolys), [point](const std::string& text) {
            return wholeNumberEntry(text, point);
        }))
        maxObjectPolys = *value;
    showLimits();
}

void frmUpdate::cmdMin_Click() {
    const char point = systemDecimalPoint();
    const std::string current = minEdgeText_.empty() ? edgeMillimetresText(minEdgeSqr, 2) : minEdgeText_;
    if (auto value = askLimit(2, current, [point](const std::string& text) { return edgeEntry(text, point); })) {
        minEdgeSqr = value->minEdgeSqr;
        minEdgeText_ = value->millimetres;
    }
    showLimits();
}

void frmUpdate::cmdEnd_Click() {
    saveLimits(platform_.settings, RunLimits{maxPrimFaces, maxObjectPolys, minEdgeSqr});
    if (!minEdgeText_.empty()) saveEdgeText(platform_.settings, minEdgeText_);
    if (!lastFolder_.empty()) saveLastFolder(platform_.settings, lastFolder_);
    if (running_) {
        // The run stops at its next step; the program ends when it has.
        leaving_ = true;
        runThread_->requestStop();
        return;
    }
    platform_.program.endProgram();
}

void frmUpdate::closeEvent(QCloseEvent* event) {
    // Leaving by the title bar saves nothing; a run in progress ends without writing.
    if (running_) {
        leaving_ = true;
        runThread_->requestStop();
    }
    event->accept();
}

void frmUpdate::cmd_Click() {
    if (running_) return;
    std::filesystem::path start = lastChosen_;
    if (start.empty()) start = lastFolder_.empty() ? std::filesystem::path("*.s") : lastFolder_ / "*.s";
    const auto chosen =
        platform_.fileDialog.openFile("Select Shape File", {{"MSTS Model", "*.s"}, {"All Files", "*"}}, start);
    if (chosen) runFile(*chosen);
}

void frmUpdate::runFile(const std::filesystem::path& chosen) {
    if (running_) return;
    lastChosen_ = chosen;
    std::error_code ignored;
    lastFolder_ = std::filesystem::absolute(chosen, ignored).parent_path();

    const RunLimits limits{maxPrimFaces, maxObjectPolys, minEdgeSqr};
    const RunSwitches switches{chkPoly->isChecked(), chkAnims->isChecked(), chkReport->isChecked()};
    r.reset();  // the root of an earlier run goes before the next is read
    runShape_ = chosen;
    runMessages_.clear();
    setWindowTitle(platform::toQString(chosen.filename()) + QStringLiteral(" - ") + QString::fromUtf8(kAppTitle));
    setRunning(true);
    platform_.busyPointer.setBusy(true);
    runThread_->start(chosen, limits, switches);
}

void frmUpdate::setRunStepHook(std::function<void(const std::string&)> hook) {
    runThread_->setStepHook(std::move(hook));
}

void frmUpdate::scheduleUpdates() {
    if (updateTimer_->isActive()) return;
    updateTimer_->start(int(std::max<qint64>(0, kUpdateIntervalMs - sinceUpdates_.elapsed())));
}

void frmUpdate::applyUpdates() {
    sinceUpdates_.restart();
    for (RunUpdate& update : runThread_->takeUpdates()) {
        switch (update.kind) {
        case RunUpdate::Kind::ClearReport: clearReport(); break;
        case RunUpdate::Kind::Lines: lst->appendLines(std::move(update.lines)); break;
        case RunUpdate::Kind::Caption: picPerc->setTag(update.text.toStdString()); break;
        case RunUpdate::Kind::Percent: picPerc->pc(update.percent); break;
        case RunUpdate::Kind::Status: picPerc->prt(update.text.toStdString()); break;
        case RunUpdate::Kind::Stopped: showRunStopped(update.text, QStringLiteral("Stopped: nothing written")); break;
        case RunUpdate::Kind::Message: runMessages_.push_back(update.text); break;
        }
    }
}

void frmUpdate::runFinished() {
    updateTimer_->stop();
    applyUpdates();
    RunResult result = runThread_->takeResult();
    if (result.outcome == RunOutcome::Unreadable && !runMessages_.empty())
        showRunStopped(runMessages_.front(), QStringLiteral("Reading failed: nothing written"));
    r = std::move(result.root);
    shape_ = runThread_->takeShape();
    // An open view follows the runs; after an unreadable file there is nothing to show.
    if (view_) {
        if (shape_)
            view_->setShape(shape_);
        else
            view_->close();
    }
    // The pointer is back before any message box shows.
    platform_.busyPointer.setBusy(false);
    if (!leaving_)
        for (const QString& message : runMessages_) showMessage(message.toStdString());
    runMessages_.clear();
    setRunning(false);
    if (leaving_) platform_.program.endProgram();
    emit runEnded();
}

void frmUpdate::setRunning(bool running) {
    running_ = running;
    // A control switched off for the run hands its focus on (to "Close", say);
    // it takes it back afterwards, so that Enter does what it did before.
    if (running) focusBeforeRun_ = focusWidget();
    // A dialog opened during the run would let its settings or file change under it.
    for (QPushButton* button : {cmd, cmdprim, cmdface, cmdMin}) button->setEnabled(!running);
    cmdView->setEnabled(!running && shape_);
    // The run keeps the switches it started with; the boxes show them unchanged.
    for (QCheckBox* box : {chkReport, chkAnims, chkPoly}) box->setEnabled(!running);
    aboutAction->setEnabled(!running);
    updateSaveAction();
    if (!running && focusBeforeRun_) focusBeforeRun_->setFocus();
}

void frmUpdate::updateSaveAction() { saveReportAction->setEnabled(!running_ && lst->count() > 0); }

void frmUpdate::showRunStopped(const QString& message, const QString& status) {
    picPerc->prt(status.toStdString());
    // The list is the run's only record: it keeps why the run stopped, in
    // this shape's report, not below the report of the shape before.
    if (reportShape_ != runShape_) clearReport();
    LineBatch lines;
    for (const QString& line : message.split(u'\r')) lines.add(line.toStdString());
    lst->appendLines(std::move(lines));
}

void frmUpdate::dragEnterEvent(QDragEnterEvent* event) {
    if (!running_ && event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void frmUpdate::dropEvent(QDropEvent* event) {
    if (running_) return;
    const QList<QUrl> urls = event->mimeData()->urls();
    event->acceptProposedAction();
    // The window the user dropped on comes to the front, with what it says.
    raise();
    activateWindow();
    const QString file = urls.size() == 1 ? urls.front().toLocalFile() : QString();
    if (file.isEmpty() || !QFileInfo(file).isFile()) {
        showMessage("One shape file is expected.\rDrop a single shape file, not several files or a folder.");
        return;
    }
    runFile(platform::toPath(file));
}

void frmUpdate::saveReportAs() {
    const std::filesystem::path suggested =
        reportShape_.empty() ? (lastFolder_.empty() ? std::filesystem::path("report.txt") : lastFolder_ / "report.txt")
                             : reportPathFor(reportShape_);
    auto target =
        platform_.fileDialog.saveFile("Save Report As", {{"Text File", "*.txt"}, {"All Files", "*"}}, suggested);
    if (!target) return;
    if (!target->has_extension()) *target += ".txt";
    std::string error;
    if (!saveReportText(lst->lines(), *target, error)) {
        showMessage("The report could not be saved as " + pathText(*target) + ".\r" + error);
        return;
    }
    // A dialog that could not open the shape's folder started somewhere else:
    // say where the report went.
    const QString folder = platform::toQString(suggested.parent_path());
    if (folder.size() > kLongestDialogFolder && target->parent_path() != suggested.parent_path())
        showMessage("The file dialog could not open the shape's folder.\rThe report was saved as " +
                    pathText(*target) + ".");
}

void frmUpdate::showAbout() {
    showMessage(std::string(kAppTitle) + " " + ORVANE_VERSION +
                "\rChecks and repairs Microsoft Train Simulator shape files.");
}

ViewWindow* frmUpdate::view() const { return view_.data(); }

ViewWindow& frmUpdate::openView() {
    if (!view_) {
        view_ = new ViewWindow(this);
        view_->setAttribute(Qt::WA_DeleteOnClose);
        view_->setShape(shape_);
    }
    view_->show();
    view_->raise();
    view_->activateWindow();
    return *view_;
}

void frmUpdate::cmdView_Click() {
    if (running_ || !shape_) return;
    openView();
}

void frmUpdate::reportLineActivated(const QModelIndex& index) {
    if (running_ || !shape_ || !index.isValid() || reportShape_ != shape_->file) return;
    const auto place =
        geometry::reportPlaceAt([this](std::size_t row) { return lst->lineText(static_cast<int>(row)); },
                                static_cast<std::size_t>(index.row()));
    if (!place) return;
    openView().showPlace(*place);
}

void frmUpdate::addLine(const std::string& line) { lst->appendLine(line); }

void frmUpdate::clearReport() {
    lst->clear();
    reportShape_ = runShape_;
}

void frmUpdate::setCaption(const std::string& caption) { picPerc->setTag(caption); }

void frmUpdate::pc(float p) { picPerc->pc(p); }

void frmUpdate::prt(const std::string& text) { picPerc->prt(text); }

void frmUpdate::showMessage(const std::string& text) { platform_.msgBox.showMessage(text, kAppTitle); }

}  // namespace orvane::ui

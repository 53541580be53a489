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
#include <QMimeData>
#include <QPushButton>
#include <QStringList>
#include <exception>
#include <iterator>

#include "document/numbers.h"
#include "orvane_version.h"
#include "platform/app_icon.h"
#include "platform/path_conversion.h"
#include "ui/last_folder.h"
#include "ui/limits.h"
#include "ui/progress_box.h"
#include "ui/report_file.h"
#include "ui/report_list.h"

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

QPushButton* button(QWidget* parent, const char* caption) {
    auto* result = new QPushButton(QString::fromUtf8(caption), parent);
    result->setAutoDefault(false);
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
    Form_Load();
}

frmUpdate::~frmUpdate() = default;

void frmUpdate::createControls() {
    // The controls stand at fixed places, so the window keeps its size: no
    // resizing and no maximise button.
    setFixedSize(fromTwips(0, 0, 11130, 7785).size());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    chkReport = place(checkBox(this, "Report Only"), "chkReport", fromTwips(180, 120, 1335, 315),
                      "If checked, no file will be created.");
    chkAnims = place(checkBox(this, "Check Animations"), "chkAnims", fromTwips(1680, 120, 1875, 315),
                     "If checked, the animation FPS will be normalized to 8/30");
    chkPoly = place(checkBox(this, "Make Small Polys Visible"), "chkPoly", fromTwips(3720, 120, 2355, 315),
                    "If checked, the points that make up an edge less than min size will be moved up by 1 "
                    "meter and can be seen in the shape viewer.");
    cmd = place(button(this, "Select Model"), "cmd", fromTwips(8460, 420, 2295, 435),
                "Select the S file: text, compressed or binary");
    // The first two tool tips stand as they always have: each describes the other label's limit.
    lbl[0] = place(label(this), "lbl0", fromTwips(180, 540, 2115, 255), limitToolTips()[0]);
    cmdprim = place(button(this, "..."), "cmdprim", fromTwips(2340, 480, 375, 375));
    lbl[1] = place(label(this), "lbl1", fromTwips(2760, 540, 2115, 255), limitToolTips()[1]);
    cmdface = place(button(this, "..."), "cmdface", fromTwips(4920, 480, 375, 375));
    lbl[2] = place(label(this), "lbl2", fromTwips(5340, 540, 2115, 255));
    cmdMin = place(button(this, "..."), "cmdMin", fromTwips(7500, 480, 375, 375));
    lst = place(new ReportList(this), "lst", fromTwips(60, 900, 10935, 6300));
    picPerc = place(new ProgressBox(this), "picPerc", fromTwips(60, 7260, 9795, 435));
    cmdEnd = place(button(this, "Close"), "cmdEnd", fromTwips(9960, 7260, 1095, 435));

    chkAnims->setChecked(true);

    QWidget* const tabOrder[] = {cmd,    picPerc, cmdEnd, lst,     chkReport, chkAnims, chkPoly,
                                 lbl[0], cmdprim, lbl[1], cmdface, lbl[2],    cmdMin};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);
    cmd->setFocus();

    connect(cmd, &QPushButton::clicked, this, &frmUpdate::cmd_Click);
    connect(cmdEnd, &QPushButton::clicked, this, &frmUpdate::cmdEnd_Click);
    connect(cmdprim, &QPushButton::clicked, this, &frmUpdate::cmdprim_Click);
    connect(cmdface, &QPushButton::clicked, this, &frmUpdate::cmdface_Click);
    connect(cmdMin, &QPushButton::clicked, this, &frmUpdate::cmdMin_Click);

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
    lastFolder_ = loadLastFolder(platform_.settings);
    showLimits();
}

void frmUpdate::showLimits() {
    const auto captions = limitCaptions(RunLimits{maxPrimFaces, maxObjectPolys, minEdgeSqr});
    for (std::size_t i = 0; i < lbl.size(); ++i) lbl[i]->setText(QString::fromStdString(captions[i]));
}

void frmUpdate::cmdprim_Click() {
    const std::string entry =
        platform_.inputBox.inputBox(limitPrompts()[0], kAppTitle, wholeText(maxPrimFaces));
    if (auto value = wholeNumberEntry(entry)) maxPrimFaces = *value;
    showLimits();
}

void frmUpdate::cmdface_Click() {
    const std::string entry =
        platform_.inputBox.inputBox(limitPrompts()[1], kAppTitle, wholeText(maxObjectPolys));
    if (auto value = wholeNumberEntry(entry)) maxObjectPolys = *value;
    showLimits();
}

void frmUpdate::cmdMin_Click() {
    const std::string entry =
        platform_.inputBox.inputBox(limitPrompts()[2], kAppTitle, edgeMillimetresText(minEdgeSqr, 2));
    if (auto value = edgeSqrEntry(entry)) minEdgeSqr = *value;
    showLimits();
}

void frmUpdate::cmdEnd_Click() {
    saveLimits(platform_.settings, RunLimits{maxPrimFaces, maxObjectPolys, minEdgeSqr});
    if (!lastFolder_.empty()) saveLastFolder(platform_.settings, lastFolder_);
    if (running_) {
        // The run ends at its next yield, right after this handler; cmd_Click then ends the program.
        leaving_ = true;
        return;
    }
    platform_.program.endProgram();
}

void frmUpdate::closeEvent(QCloseEvent* event) {
    // Leaving by the title bar saves nothing; a run in progress ends without writing.
    if (running_) leaving_ = true;
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
    setRunning(true);
    try {
        r = runFix(chosen, *this, limits, switches).root;
    } catch (const std::exception& e) {
        // What the run does not handle itself still ends it in order.
        if (!leaving_) {
            const std::string message = stoppedRunMessage(chosen, e.what());
            runStopped(message);
            showMessage(message);
        }
    }
    setRunning(false);
    if (leaving_) platform_.program.endProgram();
}

void frmUpdate::setRunning(bool running) {
    running_ = running;
    // A dialog opened from inside the run's event processing would halt the run unpainted.
    for (QPushButton* button : {cmd, cmdprim, cmdface, cmdMin}) button->setEnabled(!running);
    // The run keeps the switches it started with; the boxes show them unchanged.
    for (QCheckBox* box : {chkReport, chkAnims, chkPoly}) box->setEnabled(!running);
    aboutAction->setEnabled(!running);
    updateSaveAction();
}

void frmUpdate::updateSaveAction() { saveReportAction->setEnabled(!running_ && lst->count() > 0); }

void frmUpdate::runStopped(const std::string& message) {
    picPerc->prt("Stopped: nothing written");
    // The list is the run's only record: it keeps why the run stopped, in
    // this shape's report, not below the report of the shape before.
    if (reportShape_ != runShape_) clearReport();
    for (const QString& line : QString::fromStdString(message).split(u'\r')) lst->appendLine(line.toStdString());
    lst->repaintNow();
}

void frmUpdate::dragEnterEvent(QDragEnterEvent* event) {
    if (!running_ && event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void frmUpdate::dropEvent(QDropEvent* event) {
    if (running_) return;
    const QList<QUrl> urls = event->mimeData()->urls();
    event->acceptProposedAction();
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
    const auto target =
        platform_.fileDialog.saveFile("Save Report As", {{"Text File", "*.txt"}, {"All Files", "*"}}, suggested);
    if (!target) return;
    std::string error;
    if (!saveReportText(lst->lines(), *target, error))
        showMessage("The report could not be saved as " + target->string() + ".\r" + error);
}

void frmUpdate::showAbout() {
    showMessage(std::string(kAppTitle) + " " + ORVANE_VERSION +
                "\rChecks and repairs Microsoft Train Simulator shape files.");
}

void frmUpdate::addLine(const std::string& line) { lst->appendLine(line); }

void frmUpdate::repaintLines() { lst->repaintNow(); }

void frmUpdate::clearReport() {
    lst->clear();
    reportShape_ = runShape_;
}

void frmUpdate::setCaption(const std::string& caption) { picPerc->setTag(caption); }

void frmUpdate::throwIfLeaving() const {
    if (running_ && leaving_) throw RunCancelled{};
}

void frmUpdate::pc(float p) {
    picPerc->pc(p);
    throwIfLeaving();
}

void frmUpdate::prt(const std::string& text) {
    picPerc->prt(text);
    throwIfLeaving();
}

// Between progress redraws of a long read or write the window still handles
// its events, so it repaints and a click on "Close" is taken at once.
void frmUpdate::keepAlive() {
    QCoreApplication::processEvents();
    throwIfLeaving();
}

void frmUpdate::showMessage(const std::string& text) { platform_.msgBox.showMessage(text, kAppTitle); }

void frmUpdate::setBusy(bool busy) { platform_.busyPointer.setBusy(busy); }

}  // namespace orvane::ui

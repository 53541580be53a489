// What desktop users expect of the window: the command line, a dropped file,
// copying and saving the report, the last folder, the version and the icon.

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>
#include <gtest/gtest.h>

#include "fake_platform.h"
#include "generator/sample_shapes.h"
#include "orvane_version.h"
#include "run/fix_run.h"
#include "support/shape_files.h"
#include "ui/command_line.h"
#include "ui/frm_update.h"
#include "ui/progress_box.h"
#include "ui/report_list.h"
#include "window_access.h"
#include "window_test.h"

namespace orvane::test {
namespace {

class WindowConventions : public WindowTest {
protected:
    QString status() { return control<ui::ProgressBox>(window, "picPerc").statusText(); }

    void drop(const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        // A drop reaches only the widget that took the drag's entry.
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &enter);
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &drop);
    }
    void trigger(const QString& text) {
        for (QAction* action : list().actions())
            if (action->text().remove('&') == text) return action->trigger();
        FAIL() << "no action " << text.toStdString();
    }
};

TEST(AppCommandLine, FileOptionsAndErrors) {
    auto parsed = ui::parseAppArguments({"model.s"});
    EXPECT_EQ(parsed.file, "model.s");
    EXPECT_TRUE(parsed.error.isEmpty());
    parsed = ui::parseAppArguments({"--bogus", "--version"});
    EXPECT_TRUE(parsed.version);
    EXPECT_EQ(parsed.error, "unknown option --bogus");
    EXPECT_EQ(ui::parseAppArguments({"a.s", "b.s"}).error, "only one FILE may be given");
    EXPECT_EQ(ui::parseAppArguments({"--", "--help"}).file, "--help");
    // Qt's own options, which Qt takes out once it starts, are no errors.
    parsed = ui::parseAppArguments({"-platform", "offscreen", "--style=fusion", "-reverse", "m.s"});
    EXPECT_EQ(parsed.file, "m.s");
    EXPECT_TRUE(parsed.error.isEmpty());
}

TEST_F(WindowConventions, DroppedShapeFileRunsAndSeveralFilesAreRefused) {
    writeShape(dir / "m.s", smallShape());
    const QUrl file = QUrl::fromLocalFile(QString::fromStdString((dir / "m.s").string()));
    drop({file, file});
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text.rfind("One shape file is expected.", 0), 0u);
    drop({QUrl::fromLocalFile(QString::fromStdString(dir.path().string()))});
    EXPECT_EQ(platform.messages.size(), 2u);
    EXPECT_TRUE(list().lines().isEmpty());

    drop({file});
    ASSERT_TRUE(waitForRun(window));
    EXPECT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(status(), "No fixes performed");
    EXPECT_EQ(list().lines().back(), "Finished");
}

TEST_F(WindowConventions, ReportLinesAreCopiedAndSaved) {
    for (const char* line : {"No of LOD's\t1", "\tLOD\t2000", "Finished"}) window.addLine(line);
    for (int row : {2, 0}) list().selectionModel()->select(list().model()->index(row, 0), QItemSelectionModel::Select);
    QKeyEvent copy(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier);
    QApplication::sendEvent(&list(), &copy);
    EXPECT_EQ(QApplication::clipboard()->text(), "No of LOD's\t1\nFinished\n");
    trigger("Copy All");
    EXPECT_EQ(QApplication::clipboard()->text(), "No of LOD's\t1\n\tLOD\t2000\nFinished\n");

    // The report of a run is saved under the suggested name beside its shape.
    writeShape(dir / "m.s", smallShape());
    runAndWait(window, dir / "m.s");
    platform.saveAnswers.push_back(dir / "m.s.report.txt");
    trigger("Save Report As...");
    ASSERT_EQ(platform.saveRequests.size(), 1u);
    EXPECT_EQ(platform.saveRequests[0].fileName, dir / "m.s.report.txt");
    // With the system's line ends: Windows tools, Notepad among them, expect CR LF there.
#ifdef Q_OS_WIN
    const QString lineEnd = "\r\n";
#else
    const QString lineEnd = "\n";
#endif
    EXPECT_EQ(QString::fromStdString(readBytes(dir / "m.s.report.txt")), list().lines().join(lineEnd) + lineEnd);

    // A name typed without an extension gets ".txt".
    platform.saveAnswers.push_back(dir / "notes");
    trigger("Save Report As...");
    EXPECT_TRUE(std::filesystem::exists(dir / "notes.txt"));
    EXPECT_FALSE(std::filesystem::exists(dir / "notes"));

    // A failed save says so and leaves no file.
    platform.saveAnswers.push_back(dir / "missing" / "r.txt");
    trigger("Save Report As...");
    EXPECT_EQ(platform.messages.back().text.rfind("The report could not be saved", 0), 0u);
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
}

TEST_F(WindowConventions, ReportSavedAwayFromALongFolderSaysWhereItWent) {
    // Some systems' file dialogs cannot open a folder this long and start elsewhere.
    const auto folder = dir / std::string(120, 'a') / std::string(120, 'b') / std::string(40, 'c');
    std::error_code made;
    std::filesystem::create_directories(folder, made);
    if (made) GTEST_SKIP() << "no folder this long here: " << made.message();
    writeShape(folder / "m.s", smallShape());
    runAndWait(window, folder / "m.s");
    platform.saveAnswers.push_back(dir / "m.s.report.txt");
    trigger("Save Report As...");
    ASSERT_FALSE(platform.messages.empty());
    EXPECT_NE(platform.messages.back().text.find("The report was saved as " + (dir / "m.s.report.txt").string()),
              std::string::npos)
        << platform.messages.back().text;

    // Saved in the shape's own folder, nothing needs saying.
    const std::size_t shown = platform.messages.size();
    platform.saveAnswers.push_back(folder / "m.s.report.txt");
    trigger("Save Report As...");
    EXPECT_EQ(platform.messages.size(), shown);
}

TEST_F(WindowConventions, FileDialogOpensInTheLastFolderAfterARestart) {
    writeShape(dir / "m.s", smallShape());
    runAndWait(window, dir / "m.s");
    control<QPushButton>(window, "cmdEnd").click();  // "Close" keeps it with the limits
    ui::frmUpdate next(services);
    control<QPushButton>(next, "cmd").click();
    ASSERT_EQ(platform.fileRequests.size(), 1u);
    EXPECT_EQ(platform.fileRequests[0].fileName, dir / "*.s");
}

TEST_F(WindowConventions, AboutShowsTheVersionAndTheWindowHasItsIcon) {
    trigger("About Orvane");
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text.rfind(std::string("Orvane ") + ORVANE_VERSION + "\r", 0), 0u);
    EXPECT_EQ(window.windowTitle(), "Orvane");
    EXPECT_FALSE(window.windowIcon().pixmap(32, 32).isNull()) << "is the Qt SVG icon engine (libqt6svg6) installed?";
}

}  // namespace
}  // namespace orvane::test

// What a user met in the window: the limit buttons and switches during a
// run, a long reading caption, a stopped run, a minimum edge typed with a
// comma, resizing, a missing file, the report's name after a failed read,
// and the end of a long report.

#include <QAction>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QPushButton>
#include <QScrollBar>
#include <cctype>
#include <gtest/gtest.h>
#include <system_error>

#include "fake_platform.h"
#include "generator/sample_shapes.h"
#include "generator/shape_generator.h"
#include "document/system_reason.h"
#include "run/fix_run.h"
#include "support/shape_files.h"
#include "ui/frm_update.h"
#include "ui/progress_box.h"
#include "ui/report_list.h"
#include "window_access.h"
#include "window_test.h"

namespace orvane::test {
namespace {

class WindowFaults : public WindowTest {
protected:
    // The buttons, the switches, then "Save Report As...".
    std::vector<bool> controlsEnabled() {
        std::vector<bool> enabled;
        for (const char* name : {"cmd", "cmdprim", "cmdface", "cmdMin", "chkReport", "chkAnims", "chkPoly"})
            enabled.push_back(control<QWidget>(window, name).isEnabled());
        enabled.push_back(action("Save Report As...").isEnabled());
        return enabled;
    }
    QAction& action(const QString& text) {
        for (QAction* action : list().actions())
            if (action->text().remove('&') == text) return *action;
        throw std::runtime_error("the list has no action " + text.toStdString());
    }
};

TEST_F(WindowFaults, ButtonsAndSwitchesAreOffForTheRunWhateverEndsIt) {
    const std::vector<bool> off(8, false), on(8, true);
    // A run that goes through: looked at when the run first yields.
    writeShape(dir / "m.s", smallShape());
    std::vector<bool> duringRun;
    QMetaObject::invokeMethod(&window, [&] { duringRun = controlsEnabled(); }, Qt::QueuedConnection);
    runAndWait(window, dir / "m.s");
    EXPECT_EQ(duringRun, off);
    EXPECT_EQ(controlsEnabled(), on);

    // Runs that end in a message box: an unreadable file, a run that stops,
    // a write that fails (a folder stands where the output would go).
    platform.whileMessageShown = [&] { duringRun = controlsEnabled(); };
    writeBytes(dir / "bad.s", "not a shape");
    writeShape(dir / "odd.s", smallShape(animationBlock(12, 30), "\todd ( a ( 1 ) ( 2 ) )\r\n"));
    writeShape(dir / "held.s", smallShape(animationBlock(12, 30)));
    std::filesystem::create_directory(outputPathFor(dir / "held.s"));
    for (const char* name : {"bad.s", "odd.s", "held.s"}) {
        duringRun.clear();
        runAndWait(window, dir / name);
        EXPECT_EQ(duringRun, off) << name;
        EXPECT_EQ(controlsEnabled(), on) << name;
    }
}

TEST_F(WindowFaults, WindowKeepsItsSizeAndHasNoMaximiseButton) {
    const QSize size = window.size();
    EXPECT_EQ(window.minimumSize(), size);
    EXPECT_EQ(window.maximumSize(), size);
    window.resize(1100, 800);
    EXPECT_EQ(window.size(), size);
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
}

TEST_F(WindowFaults, MissingFileSaysItCouldNotBeOpenedAndWhy) {
    runAndWait(window, dir / "gone.s");
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "The file could not be opened\r" + (dir / "gone.s").string() + ": " +
                                             systemReason(std::make_error_code(std::errc::no_such_file_or_directory)));
}

TEST_F(WindowFaults, ReportIsSavedUnderTheNameOfItsShapeAndNothingIsOfferedWhileEmpty) {
    for (const char* name : {"Copy", "Copy All", "Save Report As..."})
        EXPECT_FALSE(action(name).isEnabled()) << name;
    writeShape(dir / "m.s", smallShape());
    runAndWait(window, dir / "m.s");
    for (const char* name : {"Copy", "Copy All", "Save Report As..."})
        EXPECT_TRUE(action(name).isEnabled()) << name;

    action("Save Report As...").trigger();
    ASSERT_EQ(platform.saveRequests.size(), 1u);
    EXPECT_EQ(platform.saveRequests[0].fileName, dir / "m.s.report.txt");

    // The report of a file that fails to read is that file's: the reason, under its name.
    writeBytes(dir / "dropped.s", "not a shape");
    runAndWait(window, dir / "dropped.s");
    action("Save Report As...").trigger();
    EXPECT_EQ(platform.saveRequests.back().fileName, dir / "dropped.s.report.txt");
}

TEST_F(WindowFaults, ListKeepsItsLastLineInViewUnlessScrolledUp) {
    window.show();
    test::ShapeParameters params;
    params.triangles = 60000;
    params.trianglesPerPrimitive = 1000;
    writeGeneratedShape(dir / "long.s", params);
    runAndWait(window, dir / "long.s");
    QCoreApplication::processEvents();
    auto lastLineShown = [&] {
        return list().viewport()->rect().contains(list().visualRect(list().model()->index(list().count() - 1, 0)));
    };
    ASSERT_GT(list().count() * list().rowHeight(0), list().viewport()->height());  // more lines than fit
    EXPECT_EQ(list().lines().back(), "Finished");
    EXPECT_TRUE(lastLineShown());

    // Scrolled up to read, the list stays where the user left it.
    list().verticalScrollBar()->setValue(0);
    for (int i = 0; i < 20; ++i) window.addLine("more");
    QCoreApplication::processEvents();
    EXPECT_EQ(list().verticalScrollBar()->value(), 0);
}

TEST_F(WindowFaults, LongCaptionEndsBeforeThePercentageWithTheFileNameWhole) {
    ui::ProgressBox box;
    box.setGeometry(0, 0, 653, 29);  // the window's box
    const std::string name = "/locomotive_with_a_long_name.s";
    box.setTag("Reading /home/modeller/routes/" + std::string(120, 'x') + "/trainset/shapes" + name);
    box.pc(50.0f);

    const QString shown = box.statusText();
    EXPECT_TRUE(shown.startsWith("Reading /home")) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(QString::fromStdString(name))) << shown.toStdString();
    const QFontMetrics metrics(box.font(), &box.picture());
    const int percentStart = box.innerWidth() - metrics.horizontalAdvance("99%  ");
    EXPECT_LT(ui::ProgressBox::kTextMargin + metrics.horizontalAdvance(shown), percentStart);
    EXPECT_EQ(box.percentText().toStdString(), " 50 %");

    // A caption that fits stays as it is.
    box.setTag("Reading /tmp/m.s");
    box.pc(0.0f);
    EXPECT_EQ(box.statusText().toStdString(), "Reading /tmp/m.s");
}

TEST_F(WindowFaults, StoppedRunSaysSoInTheBoxAndEndsTheListWithTheReason) {
    writeShape(dir / "m.s", smallShape(animationBlock(12, 30), "\todd ( a ( 1 ) ( 2 ) )\r\n"));
    runAndWait(window, dir / "m.s");

    ASSERT_EQ(platform.messages.size(), 1u);
    const QStringList messageLines = QString::fromStdString(platform.messages[0].text).split('\r');
    ASSERT_EQ(messageLines.size(), 2);
    EXPECT_TRUE(messageLines[1].front().isUpper()) << messageLines[1].toStdString();
    EXPECT_EQ(control<ui::ProgressBox>(window, "picPerc").statusText().toStdString(), "Stopped: nothing written");
    const QStringList lines = control<ui::ReportList>(window, "lst").lines();
    ASSERT_GT(lines.size(), 2);
    EXPECT_TRUE(lines.front().startsWith("No of LOD's")) << lines.front().toStdString();
    EXPECT_EQ(lines.mid(lines.size() - 2), messageLines);
    EXPECT_FALSE(std::filesystem::exists(outputPathFor(dir / "m.s")));
}

TEST_F(WindowFaults, MinimumEdgeTakesADecimalComma) {
    auto enter = [&](const std::string& text) {
        platform.inputAnswers.push_back(text);
        control<QPushButton>(window, "cmdMin").click();
        return labelText(window, "lbl2");
    };
    EXPECT_EQ(enter("3,5"), "Min Edge size (mm) 3.5");
    EXPECT_EQ(enter("1,000.5"), "Min Edge size (mm) 3.5");  // grouping stays unusable
    EXPECT_EQ(enter("2,5,0"), "Min Edge size (mm) 3.5");
    EXPECT_EQ(enter("4.5"), "Min Edge size (mm) 4.5");
}

}  // namespace
}  // namespace orvane::test

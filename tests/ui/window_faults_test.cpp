// What a user met in the window: the limit buttons during a run, a long
// reading caption, a stopped run, and a minimum edge typed with a comma.

#include <QAction>
#include <QFontMetrics>
#include <QPushButton>
#include <cctype>
#include <gtest/gtest.h>

#include "fake_platform.h"
#include "generator/sample_shapes.h"
#include "run/fix_run.h"
#include "support/shape_files.h"
#include "ui/frm_update.h"
#include "ui/progress_box.h"
#include "ui/report_list.h"
#include "window_access.h"

namespace orvane::test {
namespace {

class WindowFaults : public ::testing::Test {
protected:
    FakePlatform platform;
    platform::Platform services = platform.services();
    ui::frmUpdate window{services};
    TempDir dir;

    std::vector<bool> buttonsEnabled() {
        std::vector<bool> enabled;
        for (const char* name : {"cmd", "cmdprim", "cmdface", "cmdMin"})
            enabled.push_back(control<QPushButton>(window, name).isEnabled());
        for (const QAction* action : control<ui::ReportList>(window, "lst").actions())
            if (action->text().contains("...")) enabled.push_back(action->isEnabled());
        return enabled;
    }
};

TEST_F(WindowFaults, LimitButtonsAreOffForTheRunWhateverEndsIt) {
    const std::vector<bool> off(5, false), on(5, true);  // the buttons and "Save Report As..."
    // A run that goes through: looked at when the run first yields.
    writeShape(dir / "m.s", smallShape());
    std::vector<bool> duringRun;
    QMetaObject::invokeMethod(&window, [&] { duringRun = buttonsEnabled(); }, Qt::QueuedConnection);
    window.runFile(dir / "m.s");
    EXPECT_EQ(duringRun, off);
    EXPECT_EQ(buttonsEnabled(), on);

    // A run that ends in a message box.
    writeBytes(dir / "bad.s", "not a shape");
    platform.whileMessageShown = [&] { duringRun = buttonsEnabled(); };
    window.runFile(dir / "bad.s");
    EXPECT_EQ(duringRun, off);
    EXPECT_EQ(buttonsEnabled(), on);
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
    window.runFile(dir / "m.s");

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

// The window answers while a run goes on: its menu, scrolling and copying
// work while the run stands in the middle of its work; Enter presses the
// focused button, Shift+F10 opens the list's menu.

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QClipboard>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <gtest/gtest.h>

#include "fake_platform.h"
#include "generator/shape_generator.h"
#include "run/fix_run.h"
#include "run_gate.h"
#include "support/shape_files.h"
#include "ui/frm_update.h"
#include "ui/report_list.h"
#include "window_access.h"
#include "window_test.h"

namespace orvane::test {
namespace {

class WindowAnswers : public WindowTest {
protected:
    // Presses Shift+F10 on the list; true when its menu opened (it is closed again at once).
    bool menuOpensFromTheKeyboard() {
        bool opened = false;
        QTimer::singleShot(0, [&] {
            if (QWidget* popup = QApplication::activePopupWidget(); qobject_cast<QMenu*>(popup)) {
                opened = true;
                popup->close();
            }
        });
        QKeyEvent press(QEvent::KeyPress, Qt::Key_F10, Qt::ShiftModifier);
        QApplication::sendEvent(&list(), &press);
        return opened;
    }
};

TEST_F(WindowAnswers, MenuScrollingAndCopyWorkWhileARunStandsInItsWork) {
    window.show();
    ShapeParameters params;
    params.triangles = 20000;
    params.trianglesPerPrimitive = 1000;
    writeGeneratedShape(dir / "long.s", params);
    control<QCheckBox>(window, "chkPoly").setChecked(true);
    platform.inputAnswers.push_back("1000");  // every edge is short: a long report, and a write
    control<QPushButton>(window, "cmdMin").click();

    RunGate gate(window, "Writing ");
    window.runFile(dir / "long.s");
    ASSERT_TRUE(gate.waitReached());
    // The lines sent before the run stopped reach the list within a few of its updates.
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 300) QApplication::processEvents();
    ASSERT_TRUE(window.isRunning());

    EXPECT_TRUE(menuOpensFromTheKeyboard());
    ASSERT_GT(list().verticalScrollBar()->maximum(), 0);
    list().verticalScrollBar()->setValue(0);
    EXPECT_EQ(list().verticalScrollBar()->value(), 0);
    list().selectionModel()->select(list().model()->index(0, 0), QItemSelectionModel::Select);
    QKeyEvent copy(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier);
    QApplication::sendEvent(&list(), &copy);
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith("No of LOD's")) << QApplication::clipboard()->text().toStdString();

    gate.release();
    ASSERT_TRUE(waitForRun(window));
    EXPECT_EQ(list().lines().back(), "Finished");
    EXPECT_TRUE(std::filesystem::exists(outputPathFor(dir / "long.s")));
}

TEST_F(WindowAnswers, EnterPressesTheFocusedButton) {
    window.show();
    QPushButton& select = control<QPushButton>(window, "cmd");
    select.setFocus();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(&select, &enter);
    EXPECT_EQ(platform.fileRequests.size(), 1u);  // the file dialog opened (and was cancelled)

    // After a run "Select Model" has the focus again, not "Close", which took it meanwhile.
    writeShape(dir / "m.s", "shape ( points ( 0 ) )");
    platform.fileAnswers.push_back(dir / "m.s");
    QApplication::sendEvent(&select, &enter);
    ASSERT_TRUE(waitForRun(window));
    EXPECT_EQ(QApplication::focusWidget(), &select);
}

}  // namespace
}  // namespace orvane::test

// The window's controls: where they stand, what they say, and the tab order.

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <gtest/gtest.h>

#include "fake_platform.h"
#include "ui/frm_update.h"
#include "ui/progress_box.h"
#include "window_access.h"

namespace orvane::test {
namespace {

struct ControlRow {
    const char* name;
    QRect twips;  // left, top, width, height
    const char* caption;
    const char* toolTip;
};

// Positions in twips: 15 to a pixel.
const ControlRow kControls[] = {
    {"chkReport", {180, 120, 1335, 315}, "Report Only", "If checked, no file will be created."},
    {"chkAnims", {1680, 120, 1875, 315}, "Check Animations", "If checked, the animation FPS will be normalized to 8/30"},
    {"chkPoly", {3720, 120, 2355, 315}, "Make Small Polys Visible",
     "If checked, the points that make up an edge less than min size will be moved up by 1 meter and can be seen "
     "in the shape viewer."},
    {"cmd", {8460, 420, 2295, 435}, "Select Model", "Select the uncompressed S file"},
    {"lbl0", {180, 540, 2115, 255}, nullptr, "Models with objects over 11,000 polys in an object can cause crashes."},
    {"cmdprim", {2340, 480, 375, 375}, "...", ""},
    {"lbl1", {2760, 540, 2115, 255}, nullptr, "Primitives with more than 2800 polys may not load in MSTS"},
    {"cmdface", {4920, 480, 375, 375}, "...", ""},
    {"lbl2", {5340, 540, 2115, 255}, nullptr, ""},
    {"cmdMin", {7500, 480, 375, 375}, "...", ""},
    {"lst", {60, 900, 10935, 6300}, nullptr, ""},
    {"picPerc", {60, 7260, 9795, 435}, nullptr, ""},
    {"cmdEnd", {9960, 7260, 1095, 435}, "Close", ""},
};

QRect pixels(const QRect& twips) {
    return QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15);
}

class WindowLayout : public ::testing::Test {
protected:
    FakePlatform platform;
    platform::Platform services = platform.services();
    ui::frmUpdate window{services};
};

TEST_F(WindowLayout, WindowHasItsCaptionAndClientSize) {
    EXPECT_EQ(window.windowTitle().toStdString(), "Orvane");
    EXPECT_EQ(window.size(), QSize(742, 519));
}

TEST_F(WindowLayout, EveryControlStandsAtItsPlaceWithItsTexts) {
    for (const ControlRow& row : kControls) {
        SCOPED_TRACE(row.name);
        QWidget& widget = control<QWidget>(window, row.name);
        EXPECT_EQ(widget.geometry(), pixels(row.twips));
        EXPECT_EQ(widget.toolTip().toStdString(), row.toolTip);
        if (row.caption) {
            EXPECT_EQ(control<QAbstractButton>(window, row.name).text().toStdString(), row.caption);
        }
    }
    EXPECT_NE(window.findChild<QListWidget*>("lst"), nullptr);
    EXPECT_NE(window.findChild<ui::ProgressBox*>("picPerc"), nullptr);
}

TEST_F(WindowLayout, OnlyCheckAnimationsStartsTicked) {
    EXPECT_FALSE(control<QCheckBox>(window, "chkReport").isChecked());
    EXPECT_TRUE(control<QCheckBox>(window, "chkAnims").isChecked());
    EXPECT_FALSE(control<QCheckBox>(window, "chkPoly").isChecked());
}

TEST_F(WindowLayout, TabOrderFollowsTheTable) {
    const std::vector<std::string> expected = {"cmd",    "picPerc", "cmdEnd", "lst",     "chkReport", "chkAnims", "chkPoly",
                                               "lbl0",   "cmdprim", "lbl1",   "cmdface", "lbl2",      "cmdMin"};
    QWidget* at = &control<QWidget>(window, "cmd");
    EXPECT_EQ(window.focusWidget(), at);
    std::vector<std::string> chain;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        chain.push_back(at->objectName().toStdString());
        // Skip the inner parts of composite controls (the list's viewport and scroll bars).
        do at = at->nextInFocusChain();
        while (at->parentWidget() != &window && at != &window);
    }
    EXPECT_EQ(chain, expected);
}

TEST_F(WindowLayout, LongestTextsFitTheirControls) {
    for (const char* name : {"chkReport", "chkAnims", "chkPoly"}) {
        const QWidget& box = control<QWidget>(window, name);
        EXPECT_LE(box.sizeHint().width(), box.width()) << name;
    }
    for (const char* name : {"lbl0", "lbl1", "lbl2"}) {
        const QLabel& label = control<QLabel>(window, name);
        EXPECT_LE(label.fontMetrics().horizontalAdvance(label.text()), label.width()) << name;
    }
}

TEST_F(WindowLayout, NothingMovesWhenTheWindowIsResized) {
    window.show();
    window.resize(1200, 900);
    for (const ControlRow& row : kControls)
        EXPECT_EQ(control<QWidget>(window, row.name).geometry(), pixels(row.twips)) << row.name;
}

}  // namespace
}  // namespace orvane::test

// The window's controls: what they say, how they stand to each other and to
// the window, and the tab order.

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QTableView>
#include <gtest/gtest.h>

#include <map>

#include "fake_platform.h"
#include "ui/frm_update.h"
#include "ui/progress_box.h"
#include "window_access.h"

namespace orvane::test {
namespace {

struct ControlTexts {
    const char* name;
    const char* caption;  // none for the labels, the list and the progress box
    const char* toolTip;
};

const ControlTexts kControls[] = {
    {"chkReport", "Report Only", "If checked, no file will be created."},
    {"chkAnims", "Check Animations", "If checked, the animation FPS will be normalized to 8/30"},
    {"chkPoly", "Make Small Polys Visible",
     "If checked, the points that make up an edge less than min size will be moved up by 1 meter and can be seen "
     "in the shape viewer."},
    {"cmd", "Select Model", "Select the S file: text, compressed or binary"},
    {"lbl0", nullptr, "Models with objects over 11,000 polys in an object can cause crashes."},
    {"cmdprim", "...", "Change the maximum faces per primitive"},
    {"lbl1", nullptr, "Primitives with more than 2800 polys may not load in MSTS"},
    {"cmdface", "...", "Change the maximum polygons per sub-object"},
    {"lbl2", nullptr, ""},
    {"cmdMin", "...", "Change the minimum edge size"},
    {"lst", nullptr, ""},
    {"picPerc", nullptr, ""},
    {"cmdEnd", "Close", ""},
    {"cmdView", "View", "Show the shape of the last run with its findings placed on it"},
};

class WindowLayout : public ::testing::Test {
protected:
    std::map<std::string, QRect> geometries() const {
        std::map<std::string, QRect> result;
        for (const ControlTexts& row : kControls) result[row.name] = control<QWidget>(window, row.name).geometry();
        return result;
    }

    FakePlatform platform;
    platform::Platform services = platform.services();
    ui::frmUpdate window{services};
};

TEST_F(WindowLayout, EveryControlHasItsTexts) {
    EXPECT_EQ(window.windowTitle().toStdString(), "Orvane");
    for (const ControlTexts& row : kControls) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(control<QWidget>(window, row.name).toolTip().toStdString(), row.toolTip);
        if (row.caption) {
            // An "&" marks the letter of the control's mnemonic.
            EXPECT_EQ(control<QAbstractButton>(window, row.name).text().remove(u'&').toStdString(), row.caption);
        }
    }
    EXPECT_NE(window.findChild<QTableView*>("lst"), nullptr);
    EXPECT_NE(window.findChild<ui::ProgressBox*>("picPerc"), nullptr);
}

TEST_F(WindowLayout, ControlsStandInsideTheWindowWithoutOverlapping) {
    const auto places = geometries();
    for (auto a = places.begin(); a != places.end(); ++a) {
        EXPECT_TRUE(window.rect().contains(a->second)) << a->first;
        for (auto b = std::next(a); b != places.end(); ++b)
            EXPECT_FALSE(a->second.intersects(b->second)) << a->first << " and " << b->first;
    }
}

TEST_F(WindowLayout, EachLimitButtonStandsRightOfItsLabel) {
    const std::pair<const char*, const char*> pairs[] = {{"lbl0", "cmdprim"}, {"lbl1", "cmdface"}, {"lbl2", "cmdMin"}};
    for (const auto& [label, button] : pairs) {
        const QRect l = control<QWidget>(window, label).geometry();
        const QRect b = control<QWidget>(window, button).geometry();
        EXPECT_GT(b.left(), l.right()) << button;
        EXPECT_LT(b.left() - l.right(), 10) << button;  // directly beside it, nothing between
        EXPECT_TRUE(b.top() <= l.bottom() && l.top() <= b.bottom()) << button;  // on the same row
    }
}

TEST_F(WindowLayout, EveryCaptionFitsItsControl) {
    for (const char* name : {"chkReport", "chkAnims", "chkPoly"}) {
        const QWidget& box = control<QWidget>(window, name);
        EXPECT_LE(box.sizeHint().width(), box.width()) << name;
    }
    for (const char* name : {"cmd", "cmdprim", "cmdface", "cmdMin", "cmdEnd", "cmdView"}) {
        const auto& button = control<QAbstractButton>(window, name);
        EXPECT_LE(button.fontMetrics().horizontalAdvance(button.text()), button.width()) << name;
    }
    for (const char* name : {"lbl0", "lbl1", "lbl2"}) {
        const QLabel& label = control<QLabel>(window, name);
        EXPECT_LE(label.fontMetrics().horizontalAdvance(label.text()), label.width()) << name;
    }
}

TEST_F(WindowLayout, OnlyCheckAnimationsStartsTicked) {
    EXPECT_FALSE(control<QCheckBox>(window, "chkReport").isChecked());
    EXPECT_TRUE(control<QCheckBox>(window, "chkAnims").isChecked());
    EXPECT_FALSE(control<QCheckBox>(window, "chkPoly").isChecked());
}

TEST_F(WindowLayout, TabOrderFollowsTheTable) {
    // The progress box only shows: it is no tab stop.
    const std::vector<std::string> expected = {"cmd",  "cmdEnd",  "lst",  "chkReport", "chkAnims", "chkPoly",
                                               "lbl0", "cmdprim", "lbl1", "cmdface",   "lbl2",     "cmdMin",
                                               "cmdView"};
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

TEST_F(WindowLayout, NothingMovesWhenTheWindowIsResized) {
    const auto before = geometries();
    window.show();
    window.resize(1200, 900);
    EXPECT_EQ(geometries(), before);
}

}  // namespace
}  // namespace orvane::test

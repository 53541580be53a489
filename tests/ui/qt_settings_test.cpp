// The limits persist in the per-user settings store from one start to the
// next (the store is an INI file in a temporary folder).

#include <QPushButton>
#include <QSettings>
#include <gtest/gtest.h>

#include "fake_platform.h"
#include "platform/qt_platform.h"
#include "support/shape_files.h"
#include "ui/frm_update.h"
#include "window_access.h"

namespace orvane::test {
namespace {

class QtSettingsStore : public ::testing::Test {
protected:
    QtSettingsStore() {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QString::fromStdString(dir.path().string()));
    }
    TempDir dir;
    platform::QtPlatform qt;
    FakePlatform fake;
    // Everything but the settings store stands in.
    platform::Platform services{fake, fake, fake, qt, fake, fake};
};

TEST_F(QtSettingsStore, MissingKeyGivesTheDefaultAndSavedTextComesBack) {
    EXPECT_EQ(qt.getSetting("Pellicor", "Orvane", "maxprim", "2800"), "2800");
    qt.saveSetting("Pellicor", "Orvane", "maxprim", "3000");
    EXPECT_EQ(qt.getSetting("Pellicor", "Orvane", "maxprim", "2800"), "3000");
    EXPECT_EQ(qt.getSetting("Pellicor", "Other", "maxprim", "2800"), "2800");
}

TEST_F(QtSettingsStore, CloseKeepsTheLimitsForTheNextStart) {
    {
        ui::frmUpdate window(services);
        fake.inputAnswers = {"3000", "4"};
        control<QPushButton>(window, "cmdprim").click();
        control<QPushButton>(window, "cmdMin").click();
        control<QPushButton>(window, "cmdEnd").click();
    }
    ui::frmUpdate next(services);
    EXPECT_EQ(labelText(next, "lbl0"), "Max Faces/Primitive 3000");
    EXPECT_EQ(labelText(next, "lbl1"), "Max Polys/Object 11000");
    EXPECT_EQ(labelText(next, "lbl2"), "Min Edge size (mm) 4");

    // Stored as text under application Pellicor, section Orvane.
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, "Pellicor", "Pellicor");
    EXPECT_EQ(settings.value("Orvane/minsqr").toString().toStdString(), "0.000016");
    EXPECT_EQ(settings.value("Orvane/maxfaces").toString().toStdString(), "11000");
}

}  // namespace
}  // namespace orvane::test

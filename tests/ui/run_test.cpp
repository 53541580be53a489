// A fix run started from the window: the file dialog, an unreadable file, a
// run without repairs, and leaving through "Close" while a run reads.

#include <QCheckBox>
#include <QPushButton>
#include <gtest/gtest.h>

#include "fake_platform.h"
#include "run/fix_run.h"
#include "support/shape_files.h"
#include "ui/frm_update.h"
#include "ui/progress_box.h"
#include "ui/report_list.h"
#include "run_gate.h"
#include "sound_shape.h"
#include "window_access.h"
#include "window_test.h"

namespace orvane::test {
namespace {

class WindowRun : public WindowTest {
protected:
    QPushButton& selectModel() { return control<QPushButton>(window, "cmd"); }
    ui::ProgressBox& progress() { return control<ui::ProgressBox>(window, "picPerc"); }
    QStringList reportLines() { return list().lines(); }

    // Clicks "Select Model" and picks `path` in the file dialog.
    void runOn(const std::filesystem::path& path) {
        platform.fileAnswers.push_back(path);
        selectModel().click();
        ASSERT_TRUE(waitForRun(window));
    }
};

TEST_F(WindowRun, CancelledDialogChangesNothing) {
    window.addLine("earlier report");
    progress().prt("Finished");
    selectModel().click();
    ASSERT_EQ(platform.fileRequests.size(), 1u);
    const auto& request = platform.fileRequests[0];
    EXPECT_EQ(request.title, "Select Shape File");
    ASSERT_EQ(request.filters.size(), 2u);
    EXPECT_EQ(request.filters[0].name, "MSTS Model");
    EXPECT_EQ(request.filters[0].pattern, "*.s");
    EXPECT_EQ(request.filters[1].name, "All Files");
    EXPECT_EQ(request.fileName, "*.s");
    EXPECT_TRUE(platform.busyChanges.empty());
    EXPECT_EQ(reportLines(), QStringList{"earlier report"});
    EXPECT_EQ(progress().statusText().toStdString(), "Finished");
}

TEST_F(WindowRun, UnreadableFileShowsTheMessageAndStartsItsOwnReport) {
    const auto path = dir / "broken.s";
    writeBytes(path, "this is not a unicode shape file");
    window.addLine("earlier report");
    bool enabledDuringMessage = true;
    bool busyDuringMessage = true;
    platform.whileMessageShown = [&] {
        enabledDuringMessage = selectModel().isEnabled();
        busyDuringMessage = platform.busyChanges.back();
    };

    runOn(path);

    ASSERT_EQ(platform.messages.size(), 1u);
    const std::string& message = platform.messages[0].text;
    EXPECT_EQ(message.rfind(kInvalidFileFormat, 0), 0u) << message;
    EXPECT_EQ(platform.messages[0].caption, "Orvane");
    // The list holds this file's report: why it could not be read.
    EXPECT_EQ(reportLines(), QString::fromStdString(message).split('\r'));
    EXPECT_EQ(progress().statusText().toStdString(), "Reading failed: nothing written");
    EXPECT_EQ(platform.busyChanges, (std::vector<bool>{true, false}));
    EXPECT_FALSE(busyDuringMessage);
    EXPECT_FALSE(enabledDuringMessage);
    EXPECT_TRUE(selectModel().isEnabled());
    EXPECT_FALSE(std::filesystem::exists(outputPathFor(path)));
    EXPECT_EQ(window.windowTitle(), "broken.s - Orvane");

    // The next dialog starts at the file chosen last.
    selectModel().click();
    EXPECT_EQ(platform.fileRequests.back().fileName, path);
}

TEST_F(WindowRun, RunWithoutRepairsWritesNothing) {
    const auto path = dir / "sound.s";
    writeShape(path, kSoundShape);
    window.addLine("earlier report");

    runOn(path);

    EXPECT_TRUE(platform.messages.empty()) << platform.messages[0].text;
    EXPECT_EQ(progress().statusText().toStdString(), "No fixes performed");
    const QStringList lines = reportLines();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_FALSE(lines.contains("earlier report"));
    EXPECT_EQ(lines.back().toStdString(), "Finished");
    EXPECT_FALSE(std::filesystem::exists(outputPathFor(path)));
    EXPECT_EQ(platform.busyChanges, (std::vector<bool>{true, false}));
    EXPECT_TRUE(selectModel().isEnabled());
    EXPECT_EQ(window.windowTitle(), "sound.s - Orvane");  // the window names its shape
}

TEST_F(WindowRun, LiftedPointsAreWrittenBesideTheChosenFileUnlessReportOnly) {
    const auto path = dir / "tiny.s";
    writeShape(path, withShortEdge(kSoundShape));
    control<QCheckBox>(window, "chkPoly").setChecked(true);
    control<QCheckBox>(window, "chkReport").setChecked(true);

    runOn(path);
    EXPECT_EQ(progress().statusText().toStdString(), "No fixes performed");
    EXPECT_FALSE(std::filesystem::exists(outputPathFor(path)));

    control<QCheckBox>(window, "chkReport").setChecked(false);
    runOn(path);
    EXPECT_TRUE(platform.messages.empty()) << platform.messages[0].text;
    EXPECT_EQ(progress().statusText().toStdString(), "Finished");
    EXPECT_EQ(progress().tag(), "Writing " + outputPathFor(path).string());
    EXPECT_EQ(reportLines().back().toStdString(), "Finished");
    EXPECT_TRUE(std::filesystem::exists(outputPathFor(path)));
}

TEST_F(WindowRun, CloseInEachStepOfARunSavesEndsAndWritesNothing) {
    const auto path = dir / "tiny.s";
    writeShape(path, withShortEdge(kSoundShape));
    for (const char* step : {"Reading ", "Checking LOD's", "Writing "}) {
        SCOPED_TRACE(step);
        FakePlatform fake;
        fake.fileAnswers.push_back(path);
        ui::frmUpdate leaving(fake.services());
        control<QCheckBox>(leaving, "chkPoly").setChecked(true);  // the lift makes the run write
        RunGate gate(leaving, step);
        control<QPushButton>(leaving, "cmd").click();
        ASSERT_TRUE(gate.waitReached());
        control<QPushButton>(leaving, "cmdEnd").click();
        EXPECT_EQ(fake.endRequests, 0);  // not before the run has stopped
        gate.release();
        ASSERT_TRUE(waitForRun(leaving));

        EXPECT_EQ(fake.savedKeys, (std::vector<std::string>{"maxprim", "maxfaces", "minsqr", "lastfolder"}));
        EXPECT_EQ(fake.endRequests, 1);
        EXPECT_TRUE(fake.messages.empty());
        EXPECT_EQ(fake.busyChanges, (std::vector<bool>{true, false}));
        EXPECT_FALSE(std::filesystem::exists(outputPathFor(path)));
    }
}

TEST_F(WindowRun, TitleBarCloseDuringARunEndsWithoutSaving) {
    const auto path = dir / "sound.s";
    writeShape(path, kSoundShape);
    window.show();
    RunGate gate(window, "Checking LOD's");
    platform.fileAnswers.push_back(path);
    selectModel().click();
    ASSERT_TRUE(gate.waitReached());
    window.close();
    gate.release();
    ASSERT_TRUE(waitForRun(window));

    EXPECT_TRUE(platform.savedKeys.empty());
    EXPECT_EQ(platform.endRequests, 1);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_FALSE(std::filesystem::exists(outputPathFor(path)));
}

TEST_F(WindowRun, CorpusShapesRunToAnOrderlyEnd) {
    const std::filesystem::path corpus = ORVANE_CORPUS_DIR;
    if (!std::filesystem::is_directory(corpus)) GTEST_SKIP() << "no shape corpus at " << corpus;
    control<QCheckBox>(window, "chkPoly").setChecked(true);
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        if (entry.path().extension() != ".s") continue;
        SCOPED_TRACE(entry.path().filename().string());
        const auto copy = dir / entry.path().filename().string();
        std::filesystem::copy_file(entry.path(), copy);
        platform.messages.clear();
        platform.busyChanges.clear();

        runOn(copy);

        EXPECT_EQ(platform.busyChanges, (std::vector<bool>{true, false}));
        EXPECT_TRUE(selectModel().isEnabled());
        const std::string status = progress().statusText().toStdString();
        if (platform.messages.empty()) {
            EXPECT_TRUE(status == "Finished" || status == "No fixes performed") << status;
            EXPECT_EQ(reportLines().back().toStdString(), "Finished");
            EXPECT_EQ(std::filesystem::exists(outputPathFor(copy)), status == "Finished");
        } else {
            // A real shape always reads; only a malformed one may stop.
            EXPECT_NE(platform.messages[0].text, kInvalidFileFormat);
            EXPECT_FALSE(std::filesystem::exists(outputPathFor(copy))) << platform.messages[0].text;
        }
    }
}

}  // namespace
}  // namespace orvane::test

#include "run/fix_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "document/path_text.h"
#include "document/system_reason.h"
#include "run/recording_view.h"
#include "generator/sample_shapes.h"
#include "generator/shape_generator.h"
#include "fixes/division_shapes.h"
#include "support/shape_files.h"
#include "support/tree_helpers.h"

using namespace orvane;
using namespace orvane::test;

namespace {

bool contains(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

struct RunFixture : ::testing::Test {
    TempDir dir;
    RecordingView view;
    RunLimits limits;
    RunSwitches switches;
    std::filesystem::path shape = dir / "model.s";

    RunResult run() { return runFix(shape, view, limits, switches); }
};

}  // namespace

TEST_F(RunFixture, OutputNameAppendsFixedToTheWholePath) {
    EXPECT_EQ(outputPathFor("/a/b/train.s"), std::filesystem::path("/a/b/train.sfixed"));
    EXPECT_EQ(outputPathFor("/a/b/train.sfixed"), std::filesystem::path("/a/b/train.sfixedfixed"));
}

TEST_F(RunFixture, LongNonAsciiPathIsReadAndWrittenAndShownAsUtf8) {
    const std::filesystem::path top = dir.path() / pathFromText("Ünïcödé папка " + std::string(50, 'x'));
    std::filesystem::path folder = top;
    for (int i = 0; i < 4; ++i) folder /= pathFromText("модели " + std::string(50, 'y'));
    shape = folder / pathFromText("модель.s");
    ASSERT_GT(pathText(std::filesystem::absolute(shape)).size(), 300u);
    std::filesystem::create_directories(systemPath(folder));
    writeShape(systemPath(shape), smallShape(animationBlock(12, 30)));
    EXPECT_EQ(run().outcome, RunOutcome::Completed);
    EXPECT_EQ(view.caption, "Writing " + pathText(shape) + "fixed");
    EXPECT_TRUE(std::filesystem::is_regular_file(systemPath(outputPathFor(shape))));
    // Removing paths this long may fail on Windows; the temporary folder then keeps them.
    std::error_code ignored;
    std::filesystem::remove_all(top, ignored);
}

TEST_F(RunFixture, UnreadableFileShowsTheMessageAndKeepsTheReport) {
    view.report = {"earlier report"};
    writeBytes(shape, "plain 8-bit text, not a shape");
    RunResult result = run();
    EXPECT_EQ(result.outcome, RunOutcome::Unreadable);
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0], "Invalid File Format\rThe file must be a shape in UTF-16 or 8-bit text, compressed or binary\r" +
                                    pathText(shape) + ": not a shape: it starts with \"plain 8-bit text\"");
    EXPECT_EQ(view.report, std::vector<std::string>{"earlier report"});
    EXPECT_EQ(view.caption, "Reading " + shape.string());
    EXPECT_EQ(view.events.back(), "idle");
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"model.s"});
}

TEST_F(RunFixture, MissingFileIsUnreadableAndSaysItCouldNotBeOpened) {
    const RunResult result = run();
    EXPECT_EQ(result.outcome, RunOutcome::Unreadable);
    const std::string reason = systemReason(std::make_error_code(std::errc::no_such_file_or_directory));
    EXPECT_EQ(result.problem, reason);
    EXPECT_EQ(view.messages,
              std::vector<std::string>{"The file could not be opened\r" + pathText(shape) + ": " + reason});
}

TEST_F(RunFixture, RunWithoutRepairsWritesNothing) {
    writeShape(shape, smallShape());
    RunResult result = run();
    EXPECT_EQ(result.outcome, RunOutcome::Completed);
    EXPECT_FALSE(result.wrote);
    EXPECT_TRUE(view.messages.empty());
    ASSERT_FALSE(view.report.empty());
    EXPECT_EQ(view.report.back(), "Finished");
    std::vector<std::string> expected{"busy",           "caption Reading " + shape.string(), "clear",
                                      "status Checking LOD's", "caption Checking LOD's",          "status No fixes performed",
                                      "idle"};
    EXPECT_EQ(view.events, expected);
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"model.s"});
}

TEST_F(RunFixture, RepairIsWrittenBesideTheInputWhichStaysUnchanged) {
    writeShape(shape, smallShape(animationBlock(12, 30)));
    std::string before = readBytes(shape);
    RunResult result = run();
    ASSERT_EQ(result.outcome, RunOutcome::Completed) << result.problem;
    EXPECT_TRUE(result.wrote);
    EXPECT_TRUE(contains(view.report, "Animation FPS corrected from 30 to 45"));
    ASSERT_FALSE(view.report.empty());
    EXPECT_EQ(view.report.back(), "Finished");
    EXPECT_TRUE(contains(view.events, "caption Writing " + (dir / "model.sfixed").string()));
    EXPECT_TRUE(contains(view.events, "status Cleaning up"));
    EXPECT_EQ(view.events[view.events.size() - 2], "status Finished");
    EXPECT_EQ(readBytes(shape), before);
    NodePtr written = clsReader::create();
    written->ReadFile(dir / "model.sfixed", true);
    ASSERT_FALSE(written->Nodes().empty());
    NodePtr animation = written->Find("animations")->Find("animation");
    EXPECT_EQ(animation->Strings()[1], "45");
}

TEST_F(RunFixture, ReportOnlyRepairsInMemoryButWritesNothing) {
    switches.chkReport = true;
    writeShape(shape, smallShape(animationBlock(12, 30)));
    RunResult result = run();
    EXPECT_EQ(result.outcome, RunOutcome::Completed);
    EXPECT_FALSE(result.wrote);
    EXPECT_TRUE(contains(view.report, "Animation FPS corrected from 30 to 45"));
    EXPECT_TRUE(contains(view.events, "status No fixes performed"));
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"model.s"});
}

TEST_F(RunFixture, ChildWithoutPlaceholderStopsTheRunBeforeWriting) {
    // Two blocks in a row with no name between them: the second has no placeholder.
    writeShape(shape, smallShape(animationBlock(12, 30), "\todd ( a ( 1 ) ( 2 ) )\r\n"));
    RunResult result = run();
    EXPECT_EQ(result.outcome, RunOutcome::Stopped);
    EXPECT_NE(result.problem.find("odd"), std::string::npos) << result.problem;
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_NE(view.messages[0].find(shape.string()), std::string::npos);
    EXPECT_TRUE(view.report.empty() || view.report.back() != "Finished");
    EXPECT_EQ(view.events.back(), "idle");
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"model.s"});
}

TEST_F(RunFixture, FailedWriteLeavesNoFileAndSaysWhy) {
    writeShape(shape, smallShape(animationBlock(12, 30)));
    std::filesystem::create_directory(dir / "model.sfixed");  // the output name is taken by a folder
    RunResult result = run();
    EXPECT_EQ(result.outcome, RunOutcome::WriteFailed);
    EXPECT_NE(result.problem.find("model.sfixed"), std::string::npos) << result.problem;
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_TRUE(std::filesystem::is_directory(dir / "model.sfixed"));
    EXPECT_EQ(folderEntries(dir.path()), (std::vector<std::string>{"model.s", "model.sfixed"}));
    EXPECT_EQ(view.events.back(), "idle");
}

TEST_F(RunFixture, LeavingDuringTheWriteLeavesNoFile) {
    writeShape(shape, smallShape(animationBlock(12, 30)));
    view.onPercent = [this](float p) {
        if (p > 0 && view.caption.rfind("Writing", 0) == 0) throw RunCancelled{};
    };
    RunResult result = run();
    EXPECT_EQ(result.outcome, RunOutcome::Cancelled);
    EXPECT_FALSE(result.wrote);
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"model.s"});
    EXPECT_EQ(view.events.back(), "idle");
}

TEST_F(RunFixture, LeavingDuringTheReadEndsTheRunQuietly) {
    writeShape(shape, smallShape());
    view.onPercent = [](float p) {
        if (p > 0) throw RunCancelled{};
    };
    RunResult result = run();
    EXPECT_EQ(result.outcome, RunOutcome::Cancelled);
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(view.events.back(), "idle");
}

namespace {

// A shape whose checks and write take many whole percents: 3,000 triangles
// in 4 sub-objects, primitives of 200 to be split at 50.
std::string progressShape() {
    ShapeParameters params;
    params.triangles = 3000;
    params.subObjects = 4;
    params.trianglesPerPrimitive = 200;
    return generateShapeBody(params);
}

// The percentages shown under a caption, in order.
struct CaptionedPercents {
    std::vector<float> reading, checking, writing;
};

CaptionedPercents percentsByCaption(RecordingView& view, const std::function<RunResult()>& run) {
    CaptionedPercents seen;
    view.onPercent = [&](float p) {
        if (view.caption.rfind("Checking", 0) == 0) seen.checking.push_back(p);
        else if (view.caption.rfind("Writing", 0) == 0) seen.writing.push_back(p);
        else seen.reading.push_back(p);
    };
    run();
    return seen;
}

// Whole percents (as near as a fraction times 100 in single precision
// gets), each higher than the one before, ending at 100.
void expectWholeRisingTo100(const std::vector<float>& percents, std::size_t atLeast) {
    ASSERT_GE(percents.size(), atLeast);
    for (std::size_t i = 0; i < percents.size(); ++i) {
        EXPECT_NEAR(percents[i], std::round(percents[i]), 1e-3);
        if (i > 0) {
            EXPECT_GT(std::round(percents[i]), std::round(percents[i - 1]));
        }
    }
    EXPECT_EQ(percents.back(), 100.0f);
}

}  // namespace

TEST_F(RunFixture, ChecksAndWritingShowEveryWholePercent) {
    // Many primitives in a few sub-objects: the work is spread over the survey and the splits.
    writeShape(shape, progressShape());
    limits.maxPrimFaces = 50;
    const CaptionedPercents seen = percentsByCaption(view, [this] { return run(); });
    expectWholeRisingTo100(seen.checking, 20);
    expectWholeRisingTo100(seen.writing, 50);
    EXPECT_EQ(seen.writing.front(), 0.0f);
    const auto checking = std::find(view.events.begin(), view.events.end(), "caption Checking LOD's");
    ASSERT_NE(checking, view.events.end());
    EXPECT_EQ(*(checking - 1), "status Checking LOD's") << "the status text comes first";
}

TEST_F(RunFixture, LeavingHalfwayThroughTheWriteLeavesNoFile) {
    writeShape(shape, progressShape());
    limits.maxPrimFaces = 50;
    view.onPercent = [this](float p) {
        if (p >= 50 && view.caption.rfind("Writing", 0) == 0) throw RunCancelled{};
    };
    RunResult result = run();
    EXPECT_EQ(result.outcome, RunOutcome::Cancelled);
    EXPECT_FALSE(result.wrote);
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"model.s"});
}

TEST_F(RunFixture, LeavingDuringTheChecksLeavesNoFile) {
    writeShape(shape, progressShape());
    limits.maxPrimFaces = 50;
    view.onPercent = [this](float p) {
        if (p >= 30 && view.caption.rfind("Checking", 0) == 0) throw RunCancelled{};
    };
    EXPECT_EQ(run().outcome, RunOutcome::Cancelled);
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"model.s"});
}

TEST_F(RunFixture, CutOffTextIsRefusedInBothTextFormsAndNothingIsWritten) {
    const std::string body = smallShape(animationBlock(12, 30));
    const std::string cut = body.substr(0, body.find("point ( 1 0 0 )") + 9);
    for (bool eightBit : {false, true}) {
        SCOPED_TRACE(eightBit ? "8-bit text" : "UTF-16 text");
        if (eightBit)
            writeBytes(shape, std::string(kHeader) + "\r\n" + cut);
        else
            writeShape(shape, cut);
        view.messages.clear();
        const RunResult result = run();
        EXPECT_EQ(result.outcome, RunOutcome::Unreadable);
        // points ( stands on line 4 of the file: the header, "shape (", shape_header, points.
        EXPECT_EQ(view.messages,
                  std::vector<std::string>{"Unreadable shape\rThe file ends inside block point opened at line 5: it may "
                                           "be cut off"});
        EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"model.s"});
    }
}

TEST_F(RunFixture, SubObjectThatCannotBeDividedIsNamedAndNothingIsWritten) {
    SubObjectLayout layout;
    layout.polygons = {120, 10, 10};
    writeShape(shape, divisionShapeText({subObjectText(layout)}, 230));
    limits.maxObjectPolys = 100;
    const RunResult result = run();
    ASSERT_EQ(result.outcome, RunOutcome::Completed) << result.problem;
    EXPECT_TRUE(contains(view.report, "Sub-object left undivided (LOD 2000, sub-object 0, 140 polygons): its first "
                                      "geometry node alone exceeds the limit"));
    EXPECT_FALSE(result.fixesMade);
    EXPECT_FALSE(result.wrote);
    EXPECT_TRUE(contains(view.events, "status No fixes performed"));
    EXPECT_EQ(view.report.back(), "Finished");
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"model.s"});
}

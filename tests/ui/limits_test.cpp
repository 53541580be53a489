// The three limits: loading, the input boxes, and saving only through "Close".

#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

#include "fake_platform.h"
#include "ui/frm_update.h"
#include "window_access.h"

namespace orvane::test {
namespace {

using ui::frmUpdate;

class WindowLimits : public ::testing::Test {
protected:
    FakePlatform platform;
    platform::Platform services = platform.services();

    void store(const std::string& key, const std::string& value) { platform.store[FakePlatform::storeKey(key)] = value; }
    std::string stored(const std::string& key) { return platform.store[FakePlatform::storeKey(key)]; }

    // Answers the next input box with `answer` and clicks the named "..." button.
    static void enter(FakePlatform& fake, frmUpdate& window, const char* button, const std::string& answer) {
        fake.inputAnswers.push_back(answer);
        control<QPushButton>(window, button).click();
    }

    static std::vector<std::string> labels(const frmUpdate& window) {
        return {labelText(window, "lbl0"), labelText(window, "lbl1"), labelText(window, "lbl2")};
    }
};

TEST_F(WindowLimits, FirstStartShowsTheDefaults) {
    frmUpdate window(services);
    EXPECT_EQ(labels(window), (std::vector<std::string>{"Max Faces/Primitive 2800", "Max Polys/Object 11000",
                                                         "Min Edge size (mm) 2.5"}));
}

TEST_F(WindowLimits, StoredTextsLoadInBothNumberForms) {
    store("maxprim", "3000");
    store("maxfaces", "2801.5");
    store("minsqr", "1.6E-05");
    frmUpdate window(services);
    EXPECT_EQ(labels(window), (std::vector<std::string>{"Max Faces/Primitive 3000", "Max Polys/Object 2802",
                                                         "Min Edge size (mm) 4"}));
}

TEST_F(WindowLimits, UnusableStoredTextGivesOnlyThatDefault) {
    store("maxprim", "lots");
    store("maxfaces", "12000");
    store("minsqr", "-1");  // no edge has a negative square
    frmUpdate window(services);
    EXPECT_EQ(labels(window), (std::vector<std::string>{"Max Faces/Primitive 2800", "Max Polys/Object 12000",
                                                         "Min Edge size (mm) 2.5"}));
}

TEST_F(WindowLimits, WholeNumberEntriesRoundHalvesToEven) {
    frmUpdate window(services);
    enter(platform, window, "cmdprim", "2800.5");
    EXPECT_EQ(labelText(window, "lbl0"), "Max Faces/Primitive 2800");
    enter(platform, window, "cmdface", " 2801.5 ");
    EXPECT_EQ(labelText(window, "lbl1"), "Max Polys/Object 2802");
    control<QPushButton>(window, "cmdEnd").click();
    EXPECT_EQ(stored("maxprim"), "2800");
    EXPECT_EQ(stored("maxfaces"), "2802");
}

TEST_F(WindowLimits, InputBoxesShowFixedPromptsAndCurrentValues) {
    store("minsqr", "0.000016");
    frmUpdate window(services);
    enter(platform, window, "cmdprim", "");
    enter(platform, window, "cmdface", "");
    enter(platform, window, "cmdMin", "");
    ASSERT_EQ(platform.inputRequests.size(), 3u);
    const auto& r = platform.inputRequests;
    EXPECT_EQ(r[0].prompt, "Maximum Faces per Primitive (2800)");
    EXPECT_EQ(r[0].initialText, "2800");
    EXPECT_EQ(r[1].prompt, "Maximum Polys per Object (11000)");
    EXPECT_EQ(r[1].initialText, "11000");
    EXPECT_EQ(r[2].prompt, "Minimum Edge Size in mm (2.5)");
    EXPECT_EQ(r[2].initialText, "4");
    for (const auto& request : r) EXPECT_EQ(request.title, "Orvane");
}

TEST_F(WindowLimits, EdgeEntryTakesTheSquareInSquareMetres) {
    frmUpdate window(services);
    enter(platform, window, "cmdMin", "");
    EXPECT_EQ(platform.inputRequests.back().initialText, "2.5");
    enter(platform, window, "cmdMin", "4");
    EXPECT_EQ(labelText(window, "lbl2"), "Min Edge size (mm) 4");
    control<QPushButton>(window, "cmdEnd").click();
    EXPECT_EQ(stored("minsqr"), "0.000016");
    enter(platform, window, "cmdMin", "0");  // no edge is short
    EXPECT_EQ(labelText(window, "lbl2"), "Min Edge size (mm) 0");
}

TEST_F(WindowLimits, RefusedEntrySaysWhatTheBoxTakesAndIsOfferedAgain) {
    frmUpdate window(services);
    const auto before = labels(window);
    const std::pair<const char*, const char*> refused[] = {
        {"cmdprim", "0"},    {"cmdprim", "-1"},      {"cmdprim", "2147483648"}, {"cmdprim", "abc"},
        {"cmdface", "0.4"},  {"cmdface", "-1"},      {"cmdface", "1e12"},       {"cmdMin", "-1"},
        {"cmdMin", "1000001"}, {"cmdMin", "2.5mm"}};
    for (const auto& [button, answer] : refused) {
        SCOPED_TRACE(std::string(button) + " with " + answer);
        platform.messages.clear();
        enter(platform, window, button, answer);  // the box offered again is cancelled
        EXPECT_EQ(labels(window), before);
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_NE(platform.messages[0].text.find(std::string(button) == "cmdMin" ? "from 0 to 1,000,000"
                                                                                 : "from 1 to 2,147,483,647"),
                  std::string::npos)
            << platform.messages[0].text;
        EXPECT_EQ(platform.inputRequests.back().initialText, answer);
    }
    // Corrected in the box offered again, the entry is taken.
    platform.inputAnswers = {"-5", "3000"};
    control<QPushButton>(window, "cmdprim").click();
    EXPECT_EQ(labelText(window, "lbl0"), "Max Faces/Primitive 3000");
}

TEST_F(WindowLimits, EdgeLabelShowsTheValueAsTyped) {
    {
        frmUpdate window(services);
        for (const char* typed : {"3.75", "7.25", "0.001"}) {
            enter(platform, window, "cmdMin", typed);
            EXPECT_EQ(labelText(window, "lbl2"), std::string("Min Edge size (mm) ") + typed);
        }
        enter(platform, window, "cmdMin", "");
        EXPECT_EQ(platform.inputRequests.back().initialText, "0.001");
        enter(platform, window, "cmdMin", "3.75");
        control<QPushButton>(window, "cmdEnd").click();
    }
    EXPECT_EQ(stored("minsqr"), "0.0000140625");  // the check's square, as before
    frmUpdate next(services);
    EXPECT_EQ(labelText(next, "lbl2"), "Min Edge size (mm) 3.75");
    // A square stored without the typed value shows as it always has.
    store("minedge", "9");
    frmUpdate older(services);
    EXPECT_EQ(labelText(older, "lbl2"), "Min Edge size (mm) 3.7");
}

TEST_F(WindowLimits, LabelsShowTheWholeCaptionAtEveryValue) {
    frmUpdate window(services);
    enter(platform, window, "cmdprim", "2147483647");
    enter(platform, window, "cmdface", "11000");
    enter(platform, window, "cmdMin", "999999.123");
    for (const char* name : {"lbl0", "lbl1", "lbl2"}) {
        const QLabel& label = control<QLabel>(window, name);
        EXPECT_LE(label.fontMetrics().horizontalAdvance(label.text()), label.contentsRect().width()) << name;
    }
    const QLabel& faces = control<QLabel>(window, "lbl0");
    if (faces.text() != "Max Faces/Primitive 2147483647") {
        EXPECT_TRUE(faces.text().startsWith("Max Faces/Primitive 2.1")) << faces.text().toStdString();
        EXPECT_TRUE(faces.toolTip().endsWith("\nMax Faces/Primitive 2147483647")) << faces.toolTip().toStdString();
    }
    EXPECT_EQ(control<QLabel>(window, "lbl1").toolTip().toStdString(),
              "Primitives with more than 2800 polys may not load in MSTS");
}

TEST_F(WindowLimits, CloseSavesInOrderAndEndsTheProgram) {
    frmUpdate window(services);
    control<QPushButton>(window, "cmdEnd").click();
    EXPECT_EQ(platform.savedKeys, (std::vector<std::string>{"maxprim", "maxfaces", "minsqr"}));
    EXPECT_EQ(stored("maxprim"), "2800");
    EXPECT_EQ(stored("maxfaces"), "11000");
    EXPECT_EQ(stored("minsqr"), "6.25E-06");
    EXPECT_EQ(platform.endRequests, 1);
}

TEST_F(WindowLimits, TitleBarCloseSavesNothingAndTheNextStartShowsTheOldValue) {
    store("maxprim", "3000");
    {
        frmUpdate window(services);
        window.show();
        enter(platform, window, "cmdprim", "4000");
        EXPECT_EQ(labelText(window, "lbl0"), "Max Faces/Primitive 4000");
        window.close();
    }
    EXPECT_TRUE(platform.savedKeys.empty());
    frmUpdate next(services);
    EXPECT_EQ(labelText(next, "lbl0"), "Max Faces/Primitive 3000");
}

}  // namespace
}  // namespace orvane::test

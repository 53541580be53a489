// The three limits: loading, the input boxes, and saving only through "Close".

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
    enter(platform, window, "cmdprim", "-5");  // taken as it is: no range check
    enter(platform, window, "cmdprim", "");
    enter(platform, window, "cmdface", "");
    enter(platform, window, "cmdMin", "");
    ASSERT_EQ(platform.inputRequests.size(), 4u);
    const auto& r = platform.inputRequests;
    EXPECT_EQ(r[1].prompt, "Maximum Faces per Primitive (2800)");
    EXPECT_EQ(r[1].initialText, "-5");
    EXPECT_EQ(r[2].prompt, "Maximum Polys per Object (11000)");
    EXPECT_EQ(r[2].initialText, "11000");
    EXPECT_EQ(r[3].prompt, "Minimum Edge Size in mm (2.5)");
    EXPECT_EQ(r[3].initialText, "4");
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

    enter(platform, window, "cmdMin", "-3");  // same as 3
    EXPECT_EQ(labelText(window, "lbl2"), "Min Edge size (mm) 3");
    enter(platform, window, "cmdMin", "0");
    EXPECT_EQ(labelText(window, "lbl2"), "Min Edge size (mm) 0");
}

TEST_F(WindowLimits, UnusableOrCancelledEntriesChangeNothing) {
    frmUpdate window(services);
    const auto before = labels(window);
    for (const char* button : {"cmdprim", "cmdface", "cmdMin"}) {
        for (const char* answer : {"", "abc", "12abc", "1e40", "  "}) {
            enter(platform, window, button, answer);
            EXPECT_EQ(labels(window), before) << button << " with '" << answer << "'";
        }
    }
    for (const char* button : {"cmdprim", "cmdface"}) {
        enter(platform, window, button, "2147483648");
        enter(platform, window, button, "-2147483649");
        EXPECT_EQ(labels(window), before) << button;
    }
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

// Saving replaces the target only with a complete file: a failed or
// abandoned write leaves the target as it was and no temporary file.

#include <gtest/gtest.h>

#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

#include "document/cls_reader.h"
#include "document/shape_error.h"
#include "document/system_reason.h"
#include "support/tree_helpers.h"
#include "support/shape_files.h"

using namespace orvane;
using namespace orvane::test;

namespace {

class ShapeSave : public ::testing::Test {
protected:
    void SetUp() override {
        std::string body = "shape (";
        for (int i = 0; i < 8; ++i) body += " block ( 1 2 3 )";
        writeShape(dir_ / "in.s", body + " )");
        root_ = readFileRecording(dir_ / "in.s");
        ASSERT_EQ(root_->Nodes().size(), 8u);
    }
    // The SaveError message of saving to target, or "" when it succeeded.
    std::string saveError(const std::filesystem::path& target) {
        try {
            root_->SaveFile(target);
        } catch (const SaveError& e) {
            return e.what();
        }
        return {};
    }
    TempDir dir_;
    NodePtr root_;
};

TEST_F(ShapeSave, ReplacesAnExistingFileAndLeavesNothingElse) {
    writeBytes(dir_ / "out.s", "old content");
    root_->SaveFile(dir_ / "out.s");
    EXPECT_TRUE(treeDifference(*root_, *readFileRecording(dir_ / "out.s")).empty());
    EXPECT_EQ(folderEntries(dir_.path()), (std::vector<std::string>{"in.s", "out.s"}));
}

TEST_F(ShapeSave, TargetThatIsAFolderIsLeftAlone) {
    std::filesystem::create_directory(dir_ / "out.s");
    writeBytes(dir_ / "out.s" / "inside", "x");
    const std::string message = saveError(dir_ / "out.s");
    EXPECT_NE(message.find((dir_ / "out.s").string()), std::string::npos) << message;
    EXPECT_NE(message.find(systemReason(std::make_error_code(std::errc::is_a_directory))), std::string::npos) << message;
    EXPECT_TRUE(std::filesystem::is_directory(dir_ / "out.s"));
    EXPECT_EQ(folderEntries(dir_ / "out.s"), (std::vector<std::string>{"inside"}));
    EXPECT_EQ(folderEntries(dir_.path()), (std::vector<std::string>{"in.s", "out.s"}));
}

TEST_F(ShapeSave, MissingFolderIsReportedWithPathAndReason) {
    const auto target = dir_ / "no such folder" / "out.s";
    const std::string message = saveError(target);
#ifdef _WIN32
    // Windows tells a missing folder from a missing file.
    const std::string reason = systemReason(std::error_code(ERROR_PATH_NOT_FOUND, std::system_category()));
#else
    const std::string reason = "No such file or directory";
#endif
    EXPECT_EQ(message, "cannot write " + target.string() + ": " + reason);
    EXPECT_EQ(folderEntries(dir_.path()), (std::vector<std::string>{"in.s"}));
}

#ifdef _WIN32
// Another program holds the target open without sharing it.
TEST_F(ShapeSave, TargetHeldOpenElsewhereGivesAClearErrorAndIsLeftAlone) {
    writeBytes(dir_ / "out.s", "old content");
    HANDLE held = CreateFileW((dir_ / "out.s").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const std::string message = saveError(dir_ / "out.s");
    CloseHandle(held);
    EXPECT_NE(message.find("the file is open in another program"), std::string::npos) << message;
    EXPECT_EQ(readBytes(dir_ / "out.s"), "old content");
    EXPECT_EQ(folderEntries(dir_.path()), (std::vector<std::string>{"in.s", "out.s"}));
}
#endif

struct StopWriting {};

TEST_F(ShapeSave, ListenerThrowingMidWriteLeavesTargetUntouchedAndNoTemporaryFile) {
    writeBytes(dir_ / "out.s", "old content");
    int calls = 0;
    root_->SetProgressListener([&](float) {
        if (++calls == 4) throw StopWriting{};
    });
    EXPECT_THROW(root_->SaveFile(dir_ / "out.s"), StopWriting);
    EXPECT_EQ(readBytes(dir_ / "out.s"), "old content");
    EXPECT_EQ(folderEntries(dir_.path()), (std::vector<std::string>{"in.s", "out.s"}));

    calls = 0;
    EXPECT_THROW(root_->SaveFile(dir_ / "new.s"), StopWriting);
    EXPECT_EQ(folderEntries(dir_.path()), (std::vector<std::string>{"in.s", "out.s"}));
}

}  // namespace

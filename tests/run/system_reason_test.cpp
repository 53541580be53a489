// Why a file could not be opened or written, in the words of the system the
// program runs on: on Windows the system's own message for the error, on
// other systems the C library's text.

#include "document/system_reason.h"

#include <gtest/gtest.h>

#include "generator/sample_shapes.h"
#include "run/fix_run.h"
#include "run/recording_view.h"
#include "support/shape_files.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

using namespace orvane;
using namespace orvane::test;

namespace {

RunResult runOn(const std::filesystem::path& shape) {
    RecordingView view;
    return runFix(shape, view, RunLimits{}, RunSwitches{});
}

#ifdef _WIN32
// The system's message for a Windows error, as FormatMessage gives it,
// without its line end.
std::string formatMessage(DWORD code) {
    wchar_t text[512];
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                                  512, nullptr);
    while (length > 0 && (text[length - 1] == L'\r' || text[length - 1] == L'\n' || text[length - 1] == L' '))
        --length;
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), utf8.data(), bytes, nullptr, nullptr);
    return utf8;
}
#endif

}  // namespace

#ifdef _WIN32

TEST(SystemReason, MissingFileGivesTheSystemsMessage) {
    TempDir dir;
    const RunResult result = runOn(dir / "gone.s");
    EXPECT_EQ(result.outcome, RunOutcome::Unreadable);
    ASSERT_FALSE(formatMessage(ERROR_FILE_NOT_FOUND).empty());
    EXPECT_EQ(result.problem, formatMessage(ERROR_FILE_NOT_FOUND));
}

TEST(SystemReason, FileHeldByAnotherProgramGivesTheSystemsMessage) {
    TempDir dir;
    writeShape(dir / "held.s", smallShape());
    // Held open without sharing, as an editor may keep it.
    HANDLE held = CreateFileW((dir / "held.s").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const RunResult result = runOn(dir / "held.s");
    CloseHandle(held);
    EXPECT_EQ(result.outcome, RunOutcome::Unreadable);
    EXPECT_EQ(result.problem, formatMessage(ERROR_SHARING_VIOLATION));
}

TEST(SystemReason, ErrorNumbersOfTheCLibraryGiveTheSystemsMessage) {
    EXPECT_EQ(systemReason(std::make_error_code(std::errc::no_such_file_or_directory)),
              formatMessage(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(systemReason(std::make_error_code(std::errc::no_space_on_device)), formatMessage(ERROR_DISK_FULL));
    EXPECT_EQ(systemReason(std::error_code(ERROR_PATH_NOT_FOUND, std::system_category())),
              formatMessage(ERROR_PATH_NOT_FOUND));
}

#else

TEST(SystemReason, ReasonsAreTheCLibrarysTexts) {
    TempDir dir;
    EXPECT_EQ(runOn(dir / "gone.s").problem, "No such file or directory");
    EXPECT_EQ(runOn(dir.path()).problem, "Is a directory");
}

#endif

// File names with letters beyond ASCII pass between the window and the core
// unchanged, and name the same file on disk; on Windows with "\" between
// their parts, whatever Qt gave.

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include "document/path_text.h"
#include "platform/path_conversion.h"
#include "support/shape_files.h"

using namespace orvane;

TEST(PathConversion, NonAsciiNamesPassUnchanged) {
    orvane::test::TempDir dir;
    const QString folder = platform::toQString(dir.path()) + QStringLiteral("/Ünïcödé");
    const QString name = folder + QStringLiteral("/модель 模型.s");
    const std::filesystem::path path = platform::toPath(name);
    EXPECT_EQ(pathText(path.filename()), "модель 模型.s");
    EXPECT_EQ(platform::toQString(path), QDir::toNativeSeparators(name));
    std::filesystem::create_directory(path.parent_path());
    orvane::test::writeBytes(path, "x");
    EXPECT_TRUE(QFileInfo(name).isFile());
    EXPECT_EQ(std::filesystem::directory_iterator(platform::toPath(folder))->path().filename(), path.filename());
}

#ifdef _WIN32
TEST(PathConversion, PathFromTheDialogUsesBackslashes) {
    const std::filesystem::path path = platform::toPath(QStringLiteral("C:/Users/me/Trains/file.s"));
    EXPECT_EQ(pathText(path), "C:\\Users\\me\\Trains\\file.s");
    EXPECT_EQ(pathText(path.parent_path()), "C:\\Users\\me\\Trains");
}
#endif

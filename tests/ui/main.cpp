// The window tests run against real widgets on the offscreen platform
// unless another platform is asked for. Settings go to INI files, never to
// the system's own store (on Windows the registry, which the installed
// program reads).

#include <QApplication>
#include <QSettings>
#include <gtest/gtest.h>

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

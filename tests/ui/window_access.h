#pragma once
// Finds the window's controls by name, as a user finds them by sight, and
// waits for the window's runs, which go on on a thread of their own.

#include <QEventLoop>
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "ui/frm_update.h"

namespace orvane::test {

template <class Control>
Control& control(const QWidget& window, const char* name) {
    auto* found = window.findChild<Control*>(QString::fromLatin1(name));
    if (!found) throw std::runtime_error(std::string("the window has no control ") + name);
    return *found;
}

inline std::string labelText(const QWidget& window, const char* name) {
    return control<QLabel>(window, name).text().toStdString();
}

// Handles the window's events until its run has ended (a minute at most);
// false when it is still running.
inline bool waitForRun(ui::frmUpdate& window, int timeoutMs = 60000) {
    if (!window.isRunning()) return true;
    QEventLoop loop;
    QObject::connect(&window, &ui::frmUpdate::runEnded, &loop, &QEventLoop::quit);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    return !window.isRunning();
}

// Runs a file in the window and waits for the run's end.
inline void runAndWait(ui::frmUpdate& window, const std::filesystem::path& file) {
    window.runFile(file);
    if (!waitForRun(window)) throw std::runtime_error("the run did not end");
}

}  // namespace orvane::test

#pragma once
// Holds a window's run at the first caption or status text that starts with
// a given text, until the test lets it go: the test can then use the window
// while the run stands in that step.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "ui/frm_update.h"

namespace orvane::test {

class RunGate {
public:
    RunGate(ui::frmUpdate& window, std::string step) : window_(window), step_(std::move(step)) {
        window_.setRunStepHook([this](const std::string& text) {
            if (text.rfind(step_, 0) != 0) return;
            std::unique_lock lock(mutex_);
            reached_ = true;
            changed_.notify_all();
            changed_.wait(lock, [this] { return released_; });
        });
    }
    ~RunGate() {
        release();
        window_.setRunStepHook({});
    }
    RunGate(const RunGate&) = delete;
    RunGate& operator=(const RunGate&) = delete;

    // Handles the window's events until the run stands at the step (a minute at most).
    bool waitReached() {
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 60000) {
            {
                std::lock_guard lock(mutex_);
                if (reached_) return true;
            }
            QCoreApplication::processEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return false;
    }

    void release() {
        std::lock_guard lock(mutex_);
        released_ = true;
        changed_.notify_all();
    }

private:
    ui::frmUpdate& window_;
    const std::string step_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool reached_ = false;
    bool released_ = false;
};

}  // namespace orvane::test

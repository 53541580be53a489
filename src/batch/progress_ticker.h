#pragma once
// The progress of a batch, shown to an observer about ten times a second
// from a thread of its own while the shapes run.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "batch/batch_run.h"

namespace orvane::batch {

class ProgressTicker {
public:
    // With no observer nothing is shown and no thread is started.
    ProgressTicker(BatchObserver* observer, std::size_t found, std::chrono::steady_clock::time_point start);
    ~ProgressTicker();  // stops the thread

    void started(const std::string& path);
    void finished(std::uint64_t bytes);

private:
    void tick();

    BatchObserver* observer_;
    std::chrono::steady_clock::time_point start_;
    std::mutex mutex_;
    std::condition_variable changed_;
    BatchProgress progress_;
    bool ending_ = false;
    std::thread thread_;
};

}  // namespace orvane::batch

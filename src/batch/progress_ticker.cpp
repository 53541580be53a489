#include "batch/progress_ticker.h"

namespace orvane::batch {

ProgressTicker::ProgressTicker(BatchObserver* observer, std::size_t found, std::chrono::steady_clock::time_point start)
    : observer_(observer), start_(start) {
    progress_.found = found;
    if (observer_) thread_ = std::thread([this] { tick(); });
}

ProgressTicker::~ProgressTicker() {
    {
        std::lock_guard lock(mutex_);
        ending_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void ProgressTicker::started(const std::string& path) {
    if (!observer_) return;
    std::lock_guard lock(mutex_);
    progress_.current = path;
}

void ProgressTicker::finished(std::uint64_t bytes) {
    if (!observer_) return;
    std::lock_guard lock(mutex_);
    ++progress_.done;
    progress_.bytesDone += bytes;
}

void ProgressTicker::tick() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait_for(lock, std::chrono::milliseconds(100));
        if (ending_) return;
        BatchProgress progress = progress_;
        progress.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
        lock.unlock();
        observer_->progress(progress);
        lock.lock();
    }
}

}  // namespace orvane::batch

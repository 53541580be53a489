#include "batch/batch_run.h"

#include <algorithm>
#include <chrono>
#include <mutex>
#include <thread>

#include "batch/progress_ticker.h"
#include "batch/shape_job.h"
#include "batch/worker_processes.h"

namespace orvane::batch {

namespace {

using Clock = std::chrono::steady_clock;

// What the worker threads share: the next shape to take.
struct BatchState {
    std::mutex mutex;
    // Shapes by size: the calling thread takes them from the largest down,
    // the other workers from the smallest up, until they meet.
    std::vector<std::size_t> bySize;
    std::size_t smallest = 0;
    std::size_t largest = 0;  // one past
    std::vector<std::string> reportFailures;
    std::vector<std::string> pictureFailures;
};

void work(const std::vector<FoundShape>& shapes, const BatchSettings& settings, const std::atomic<bool>& stop,
          BatchState& state, ProgressTicker& ticker, std::vector<std::optional<ShapeRow>>& rows, bool largestFirst) {
    for (;;) {
        std::size_t index;
        {
            std::lock_guard lock(state.mutex);
            if (stop.load() || state.smallest == state.largest) break;
            index = largestFirst ? state.bySize[--state.largest] : state.bySize[state.smallest++];
        }
        ticker.started(shapes[index].path);
        FinishedShape finished = runShape(shapes[index], settings, stop);
        if (finished.row) ticker.finished(shapes[index].bytes);
        std::lock_guard lock(state.mutex);
        if (finished.reportFailure) state.reportFailures.push_back(std::move(*finished.reportFailure));
        if (finished.pictureFailure) state.pictureFailures.push_back(std::move(*finished.pictureFailure));
        rows[index] = std::move(finished.row);
    }
}

BatchSummary runInThreads(const std::vector<FoundShape>& shapes, const BatchSettings& settings,
                          const std::atomic<bool>& stop, BatchObserver* observer) {
    const Clock::time_point start = Clock::now();
    BatchState state;
    std::vector<std::optional<ShapeRow>> rows(shapes.size());
    const std::size_t workers = std::min<std::size_t>(static_cast<std::size_t>(std::max(1, settings.jobs)), shapes.size());
    state.bySize = shapesBySize(shapes);
    state.largest = shapes.size();
    {
        ProgressTicker ticker(observer, shapes.size(), start);
        // The calling thread is one of the workers, the one that takes the
        // largest shapes: its runs use the C heap's main arena, which the
        // reader tunes for large trees.
        std::vector<std::thread> threads;
        threads.reserve(workers);
        for (std::size_t i = 1; i < workers; ++i)
            threads.emplace_back([&] { work(shapes, settings, stop, state, ticker, rows, false); });
        if (workers > 0) work(shapes, settings, stop, state, ticker, rows, true);
        for (std::thread& thread : threads) thread.join();
    }
    BatchSummary summary = summaryOfRows(std::move(rows), std::chrono::duration<double>(Clock::now() - start).count(),
                                         std::move(state.reportFailures));
    summary.pictureFailures = std::move(state.pictureFailures);
    return summary;
}

}  // namespace

const char* outcomeName(ShapeOutcome outcome) {
    switch (outcome) {
        case ShapeOutcome::Ok: return "ok";
        case ShapeOutcome::Repaired: return "repaired";
        case ShapeOutcome::WouldRepair: return "would-repair";
        case ShapeOutcome::Unreadable: return "unreadable";
        case ShapeOutcome::Stopped: return "stopped";
        case ShapeOutcome::WriteFailed: return "write-failed";
    }
    return "?";
}

const char* animationName(RunFigures::Animation animation) {
    switch (animation) {
        case RunFigures::Animation::None: return "none";
        case RunFigures::Animation::Kept: return "kept";
        case RunFigures::Animation::Removed: return "removed";
        case RunFigures::Animation::Retimed: return "retimed";
    }
    return "?";
}

BatchSummary runBatch(const std::vector<FoundShape>& shapes, const BatchSettings& settings,
                      const std::atomic<bool>& stop, BatchObserver* observer) {
#ifndef _WIN32
    if (settings.workerProcesses && settings.jobs >= 2 && shapes.size() > 1 && !stop.load())
        if (auto summary = runInWorkerProcesses(shapes, settings, stop, observer)) return std::move(*summary);
#endif
    return runInThreads(shapes, settings, stop, observer);
}

BatchSummary summaryOfRows(std::vector<std::optional<ShapeRow>> rows, double wallSeconds,
                           std::vector<std::string> reportFailures) {
    BatchSummary summary;
    summary.found = rows.size();
    for (std::optional<ShapeRow>& row : rows)
        if (row) summary.rows.push_back(std::move(*row));
    summary.interrupted = summary.rows.size() < summary.found;
    summary.wallSeconds = wallSeconds;
    summary.reportFailures = std::move(reportFailures);
    return summary;
}

int batchExitStatus(const BatchSummary& summary) {
    if (summary.interrupted) return 130;
    int status = summary.reportFailures.empty() && summary.pictureFailures.empty() ? 0 : 4;
    for (const ShapeRow& row : summary.rows) {
        switch (row.outcome) {
            case ShapeOutcome::Unreadable: status = std::max(status, 1); break;
            case ShapeOutcome::Stopped: status = std::max(status, 3); break;
            case ShapeOutcome::WriteFailed: status = std::max(status, 4); break;
            default: break;
        }
    }
    return status;
}

}  // namespace orvane::batch

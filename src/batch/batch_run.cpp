#include "batch/batch_run.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <fstream>
#include <exception>
#include <mutex>
#include <thread>

#include "batch/shape_job.h"
#include "document/path_text.h"

namespace orvane::batch {

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// What the workers share: the next shape to take and the progress so far.
struct BatchState {
    std::mutex mutex;
    std::condition_variable changed;
    // Shapes by size: the calling thread takes them from the largest down,
    // the other workers from the smallest up, until they meet.
    std::vector<std::size_t> bySize;
    std::size_t smallest = 0;
    std::size_t largest = 0;  // one past
    std::size_t done = 0;
    std::size_t workersLeft = 0;
    std::uint64_t bytesDone = 0;
    std::string current;
    std::vector<std::string> reportFailures;
};

void writeReport(const std::filesystem::path& file, const std::string& text, BatchState& state) {
    std::error_code ec;
    std::filesystem::create_directories(file.parent_path(), ec);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!ec && out) return;
    std::lock_guard lock(state.mutex);
    state.reportFailures.push_back(genericPathText(file));
}

void work(const std::vector<FoundShape>& shapes, const BatchSettings& settings, const std::atomic<bool>& stop,
          BatchState& state, std::vector<std::optional<ShapeRow>>& rows, bool largestFirst) {
    for (;;) {
        std::size_t index;
        {
            std::lock_guard lock(state.mutex);
            if (stop.load() || state.smallest == state.largest) break;
            index = largestFirst ? state.bySize[--state.largest] : state.bySize[state.smallest++];
            state.current = shapes[index].path;
        }
        const FoundShape& shape = shapes[index];
        ShapeJobResult job;
        try {
            job = runShapeJob(shape, settings, stop);
        } catch (const std::exception& e) {
            // The run itself turns bad content into an outcome; this is the
            // last guard of the other shapes.
            job.row.emplace();
            job.row->path = shape.path;
            job.row->bytes = shape.bytes;
            job.row->outcome = ShapeOutcome::Stopped;
            job.row->problem = e.what();
        }
        if (job.row && settings.reportsDir) {
            std::filesystem::path file = *settings.reportsDir / shape.reportName;
            file += ".txt";
            writeReport(file, job.report, state);
        }
        std::lock_guard lock(state.mutex);
        if (job.row) {
            rows[index] = std::move(job.row);
            ++state.done;
            state.bytesDone += shape.bytes;
        }
    }
    std::lock_guard lock(state.mutex);
    --state.workersLeft;
    state.changed.notify_all();
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
    const Clock::time_point start = Clock::now();
    BatchState state;
    std::vector<std::optional<ShapeRow>> rows(shapes.size());
    const std::size_t workers = std::min<std::size_t>(static_cast<std::size_t>(std::max(1, settings.jobs)), shapes.size());
    state.workersLeft = workers;
    state.bySize.resize(shapes.size());
    for (std::size_t i = 0; i < shapes.size(); ++i) state.bySize[i] = i;
    std::stable_sort(state.bySize.begin(), state.bySize.end(),
                     [&](std::size_t a, std::size_t b) { return shapes[a].bytes < shapes[b].bytes; });
    state.largest = shapes.size();
    // The calling thread is one of the workers, the one that takes the
    // largest shapes: its runs use the C heap's main arena, which the reader
    // tunes for large trees. The progress is shown from a thread of its own.
    std::thread progressThread;
    if (observer)
        progressThread = std::thread([&] {
            std::unique_lock lock(state.mutex);
            while (state.workersLeft > 0) {
                state.changed.wait_for(lock, std::chrono::milliseconds(100));
                if (state.workersLeft == 0) break;
                BatchProgress progress{state.done, shapes.size(), state.bytesDone, secondsSince(start), state.current};
                lock.unlock();
                observer->progress(progress);
                lock.lock();
            }
        });
    std::vector<std::thread> threads;
    threads.reserve(workers);
    for (std::size_t i = 1; i < workers; ++i)
        threads.emplace_back([&] { work(shapes, settings, stop, state, rows, false); });
    if (workers > 0) work(shapes, settings, stop, state, rows, true);
    for (std::thread& thread : threads) thread.join();
    if (progressThread.joinable()) progressThread.join();

    BatchSummary summary;
    summary.found = shapes.size();
    for (std::optional<ShapeRow>& row : rows)
        if (row) summary.rows.push_back(std::move(*row));
    summary.interrupted = summary.rows.size() < shapes.size();
    summary.wallSeconds = secondsSince(start);
    summary.reportFailures = std::move(state.reportFailures);
    return summary;
}

int batchExitStatus(const BatchSummary& summary) {
    if (summary.interrupted) return 130;
    int status = summary.reportFailures.empty() ? 0 : 4;
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

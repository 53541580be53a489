#include "batch/worker_processes.h"

#ifndef _WIN32

#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>

#include "batch/progress_ticker.h"
#include "batch/row_codec.h"
#include "batch/shape_job.h"

namespace orvane::batch {

namespace {

constexpr const char* kWorkerEnded = "the worker running this shape ended unexpectedly";
// The batch asks its workers to stop with this signal.
constexpr int kStopSignal = SIGUSR1;
// No encoded shape comes near this; more means the stream is broken.
constexpr std::uint64_t kLongestMessage = std::uint64_t{1} << 30;

// A worker's stop flag: set by Ctrl-C, which reaches the whole process
// group, or by the batch.
std::atomic<bool> workerStop{false};
void onStopSignal(int) { workerStop.store(true); }

// The sockets are written with MSG_NOSIGNAL: a peer that is gone gives an
// error here, not SIGPIPE.
bool sendAll(int fd, const void* data, std::size_t size) {
    const char* next = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t sent = ::send(fd, next, size, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) continue;
        if (sent <= 0) return false;
        next += sent;
        size -= static_cast<std::size_t>(sent);
    }
    return true;
}

// False at the end of the stream or on an error.
bool receiveAll(int fd, void* data, std::size_t size) {
    char* next = static_cast<char*>(data);
    while (size > 0) {
        const ssize_t got = ::recv(fd, next, size, 0);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        next += got;
        size -= static_cast<std::size_t>(got);
    }
    return true;
}

// A message is its length, then its bytes.
bool sendMessage(int fd, const std::string& bytes) {
    const std::uint64_t size = bytes.size();
    return sendAll(fd, &size, sizeof size) && sendAll(fd, bytes.data(), bytes.size());
}

std::optional<std::string> receiveMessage(int fd) {
    std::uint64_t size = 0;
    if (!receiveAll(fd, &size, sizeof size) || size > kLongestMessage) return std::nullopt;
    std::string bytes(size, '\0');
    if (!receiveAll(fd, bytes.data(), bytes.size())) return std::nullopt;
    return bytes;
}

// A worker process: runs the shapes whose indices come down the socket, one
// at a time, sends each one's result back, and ends when the socket closes.
[[noreturn]] void workerMain(int fd, const std::vector<FoundShape>& shapes, const BatchSettings& settings,
                             const sigset_t& signalMask) {
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(kStopSignal, &action, nullptr);
    struct sigaction inherited {};
    sigaction(SIGINT, nullptr, &inherited);
    if (inherited.sa_handler != SIG_IGN) {
        action.sa_flags = SA_RESETHAND;  // a second Ctrl-C ends the worker at once
        sigaction(SIGINT, &action, nullptr);
    }
    pthread_sigmask(SIG_SETMASK, &signalMask, nullptr);
    int status = 0;
    try {
        std::uint64_t index = 0;
        while (receiveAll(fd, &index, sizeof index) && index < shapes.size())
            if (!sendMessage(fd, encodeFinishedShape(runShape(shapes[index], settings, workerStop)))) break;
    } catch (...) {
        status = 1;
    }
    // Nothing of the parent's (buffered output, exit handlers) runs here.
    ::_exit(status);
}

struct Worker {
    pid_t pid = -1;
    int fd = -1;  // closed: -1
    std::optional<std::size_t> shape;
};

// Forks up to `count` workers; none when not even one could be started.
std::vector<Worker> startWorkers(std::size_t count, const std::vector<FoundShape>& shapes,
                                 const BatchSettings& settings) {
    // The stop signal stays blocked in a new worker until it has its handler.
    sigset_t stopSignal, previous;
    sigemptyset(&stopSignal);
    sigaddset(&stopSignal, kStopSignal);
    pthread_sigmask(SIG_BLOCK, &stopSignal, &previous);
    std::vector<Worker> workers;
    for (std::size_t i = 0; i < count; ++i) {
        int ends[2];
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) break;
        const pid_t pid = ::fork();
        if (pid < 0) {
            ::close(ends[0]);
            ::close(ends[1]);
            break;
        }
        if (pid == 0) {
            // The other workers' sockets must close when the batch closes them.
            ::close(ends[0]);
            for (const Worker& other : workers) ::close(other.fd);
            workerMain(ends[1], shapes, settings, previous);
        }
        ::close(ends[1]);
        workers.push_back({pid, ends[0], std::nullopt});
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return workers;
}

void closeWorker(Worker& worker) {
    if (worker.fd >= 0) ::close(worker.fd);
    worker.fd = -1;
}

}  // namespace

std::optional<BatchSummary> runInWorkerProcesses(const std::vector<FoundShape>& shapes, const BatchSettings& settings,
                                                 const std::atomic<bool>& stop, BatchObserver* observer) {
    const auto start = std::chrono::steady_clock::now();
    const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(std::max(1, settings.jobs)), shapes.size());
    std::vector<Worker> workers = startWorkers(count, shapes, settings);
    if (workers.empty()) return std::nullopt;

    // The largest shapes go first, so the small ones even out the end.
    std::vector<std::size_t> queue = shapesBySize(shapes);
    std::vector<std::optional<ShapeRow>> rows(shapes.size());
    std::vector<std::string> reportFailures;
    std::vector<std::string> pictureFailures;
    {
        ProgressTicker ticker(observer, shapes.size(), start);
        // A worker that is gone leaves its shape a stopped row.
        auto lost = [&](Worker& worker) {
            closeWorker(worker);
            if (!worker.shape) return;
            const FoundShape& shape = shapes[*worker.shape];
            ShapeRow& row = rows[*worker.shape].emplace();
            row.path = shape.path;
            row.bytes = shape.bytes;
            row.outcome = ShapeOutcome::Stopped;
            row.problem = kWorkerEnded;
            ticker.finished(shape.bytes);
            worker.shape.reset();
        };
        bool stopSent = false;
        std::vector<pollfd> busy;
        std::vector<Worker*> busyWorkers;
        for (;;) {
            const bool stopping = stop.load();
            if (stopping && !stopSent) {
                for (const Worker& worker : workers)
                    if (worker.fd >= 0) ::kill(worker.pid, kStopSignal);
                stopSent = true;
            }
            busy.clear();
            busyWorkers.clear();
            for (Worker& worker : workers) {
                if (worker.fd < 0) continue;
                if (!worker.shape) {
                    if (stopping || queue.empty()) {
                        closeWorker(worker);  // the worker ends
                        continue;
                    }
                    const std::uint64_t index = queue.back();
                    if (!sendAll(worker.fd, &index, sizeof index)) {
                        lost(worker);
                        continue;
                    }
                    queue.pop_back();
                    worker.shape = index;
                    ticker.started(shapes[index].path);
                }
                busy.push_back({worker.fd, POLLIN, 0});
                busyWorkers.push_back(&worker);
            }
            if (busy.empty()) break;
            // Wakes at least ten times a second to see the stop flag.
            if (::poll(busy.data(), busy.size(), 100) <= 0) continue;
            for (std::size_t i = 0; i < busy.size(); ++i) {
                if (busy[i].revents == 0) continue;
                Worker& worker = *busyWorkers[i];
                const std::optional<std::string> message = receiveMessage(worker.fd);
                std::optional<FinishedShape> finished = message ? decodeFinishedShape(*message) : std::nullopt;
                if (!finished) {
                    lost(worker);
                    continue;
                }
                if (finished->reportFailure) reportFailures.push_back(std::move(*finished->reportFailure));
                if (finished->pictureFailure) pictureFailures.push_back(std::move(*finished->pictureFailure));
                if (finished->row) {
                    rows[*worker.shape] = std::move(finished->row);
                    ticker.finished(shapes[*worker.shape].bytes);
                }
                worker.shape.reset();
            }
        }
        // Every worker gone with shapes left: the rest run here.
        while (!queue.empty() && !stop.load()) {
            const std::size_t index = queue.back();
            queue.pop_back();
            ticker.started(shapes[index].path);
            FinishedShape finished = runShape(shapes[index], settings, stop);
            if (finished.reportFailure) reportFailures.push_back(std::move(*finished.reportFailure));
            if (finished.pictureFailure) pictureFailures.push_back(std::move(*finished.pictureFailure));
            if (finished.row) ticker.finished(shapes[index].bytes);
            rows[index] = std::move(finished.row);
        }
    }
    for (const Worker& worker : workers) {
        int status = 0;
        while (::waitpid(worker.pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
    BatchSummary summary = summaryOfRows(
        std::move(rows), std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
        std::move(reportFailures));
    summary.pictureFailures = std::move(pictureFailures);
    return summary;
}

}  // namespace orvane::batch

#endif

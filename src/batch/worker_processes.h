#pragma once
// The shapes of a batch run in single-threaded worker processes (POSIX
// systems). A process with one thread allocates without the C heap's
// locking, which a second thread switches on for every allocation and free;
// so two processes of one thread each run a batch faster than one process
// with two threads.

#include <atomic>
#include <optional>
#include <vector>

#include "batch/batch_run.h"

namespace orvane::batch {

// Runs the shapes in min(jobs, shapes) worker processes, forked before any
// thread is started here, so the calling process must not run other threads
// then. None, with nothing run, when no worker could be started.
std::optional<BatchSummary> runInWorkerProcesses(const std::vector<FoundShape>& shapes, const BatchSettings& settings,
                                                 const std::atomic<bool>& stop, BatchObserver* observer);

}  // namespace orvane::batch

#include "batch_threads.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <string>
#include <thread>

#include "batch/batch_run.h"
#include "batch/summary_format.h"

namespace orvane::bench {

int batchInThreads(const char* jobs, const char* folder, bool idleThread, bool findings) {
    std::string error;
    const auto shapes = batch::findShapes({folder}, error);
    if (!shapes) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 2;
    }
    batch::BatchSettings settings;
    settings.switches.chkReport = true;
    settings.jobs = std::atoi(jobs);
    settings.workerProcesses = false;
    settings.findings = findings;
    std::promise<void> batchDone;
    std::thread idle;
    if (idleThread) idle = std::thread([done = batchDone.get_future()] { done.wait(); });
    const std::atomic<bool> stop{false};
    const batch::BatchSummary summary = batch::runBatch(*shapes, settings, stop);
    batchDone.set_value();
    if (idle.joinable()) idle.join();
    const std::string text = batch::formatSummary(summary, batch::SummaryFormat::Csv);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
    return batch::batchExitStatus(summary);
}

}  // namespace orvane::bench

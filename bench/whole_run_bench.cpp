// The whole headless fix run (read, survey with the small-edge check,
// primitive splitting, sub-object division, animation normalisation,
// write) on generated shapes of about 5,000, 100,000 and 1,000,000
// triangles, each stage timed on its own, against the bare pass measured
// in the same run; the peak memory of a whole run in a new process; two
// repairs at scale; orvane-cli as a whole process; and the longest time the
// run goes without yielding to the window while reading and writing.
//
// Every figure is the median of several repetitions of one run each.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "bare_pass.h"
#include "child_process.h"
#include "run_stages.h"
#include "whole_run_bench.h"
#include "whole_run_shapes.h"

namespace orvane::bench {

namespace {

using Clock = std::chrono::steady_clock;

double since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

double fileBytes(const std::filesystem::path& path) { return static_cast<double>(std::filesystem::file_size(path)); }

std::int64_t trianglesOf(const RunShape& shape) { return shape.params.triangles; }

// The stages of a run, in order; a stage benchmark prepares a tree by the
// stages before its own (untimed) and times its own.
enum class Stage { Read, Survey, Split, Divide, Animations, Write };

void runStage(StagedRun& run, Stage stage, const std::filesystem::path& shape, const std::filesystem::path& output) {
    switch (stage) {
        case Stage::Read:
            if (!run.read(shape)) throw std::runtime_error("the generated shape did not read");
            break;
        case Stage::Survey: run.survey(); break;
        case Stage::Split: run.split(); break;
        case Stage::Divide: run.divide(); break;
        case Stage::Animations: run.normaliseAnimations(); break;
        case Stage::Write: run.write(output); break;
    }
}

void BM_Stage(benchmark::State& state, RunShape shape, Stage stage) {
    const auto& path = ShapeFolder::instance().path(shape);
    const auto output = ShapeFolder::instance().scratch("stage_output.s");
    double longestGap = 0;
    try {
        for (auto _ : state) {
            StagedRun run(shape.limits);
            for (int s = 0; s < static_cast<int>(stage); ++s) runStage(run, static_cast<Stage>(s), path, output);
            const auto start = Clock::now();
            runStage(run, stage, path, output);
            state.SetIterationTime(since(start));
            // The gap from the last redraw to the end of the stage counts too.
            run.view().yielded();
            const auto phase = stage == Stage::Write ? SilentView::Phase::Writing : SilentView::Phase::Reading;
            longestGap = std::max(longestGap, run.view().longestGap(phase));
            state.PauseTiming();
            run.state().r.reset();  // releasing the tree is not part of the stage
            state.ResumeTiming();
        }
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
        return;
    }
    if (stage == Stage::Read) state.SetBytesProcessed(static_cast<std::int64_t>(fileBytes(path)) * state.iterations());
    if (stage == Stage::Write)
        state.SetBytesProcessed(static_cast<std::int64_t>(fileBytes(output)) * state.iterations());
    if (stage == Stage::Survey) state.SetItemsProcessed(trianglesOf(shape) * state.iterations());
    if (stage == Stage::Read || stage == Stage::Write) state.counters["longest_gap_ms"] = longestGap * 1000.0;
}

void BM_BarePass(benchmark::State& state, RunShape shape, bool windowed) {
    const auto& path = ShapeFolder::instance().path(shape);
    for (auto _ : state) {
        const auto start = Clock::now();
        benchmark::DoNotOptimize(windowed ? barePassWindowed(path) : barePass(path));
        state.SetIterationTime(since(start));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(fileBytes(path)) * state.iterations());
}

// runFix as the window calls it, in this process.
void BM_WholeRun(benchmark::State& state, RunShape shape) {
    const auto& path = ShapeFolder::instance().path(shape);
    for (auto _ : state) {
        const double seconds = timeWholeRun(path, shape.limits).seconds;
        if (seconds < 0) {
            state.SkipWithError("the run did not complete with a written file");
            return;
        }
        state.SetIterationTime(seconds);
    }
}

// runFix in a newly started copy of this program, as the window meets it:
// its time, its peak resident memory, and the longest times it went
// without yielding while reading and while writing.
void BM_WholeRunFreshProcess(benchmark::State& state, RunShape shape) {
    const auto& path = ShapeFolder::instance().path(shape);
    double peakBytes = 0;
    double readGap = 0;
    double writeGap = 0;
    for (auto _ : state) {
        const ChildResult child = runChild({selfPath(), std::string(kRunOnceOption), path.string(),
                                            std::to_string(shape.limits.maxPrimFaces),
                                            std::to_string(shape.limits.maxObjectPolys)},
                                           true);
        WholeRunTimes times;
        if (!child.ok ||
            std::sscanf(child.output.c_str(), "%lf %lf %lf", &times.seconds, &times.longestReadGap,
                        &times.longestWriteGap) != 3 ||
            times.seconds <= 0) {
            state.SkipWithError("the run in a new process did not complete");
            return;
        }
        state.SetIterationTime(times.seconds);
        peakBytes = std::max(peakBytes, static_cast<double>(child.peakKiB) * 1024.0);
        readGap = std::max(readGap, times.longestReadGap);
        writeGap = std::max(writeGap, times.longestWriteGap);
    }
    state.counters["peak_MB"] = peakBytes / 1e6;
    state.counters["peak_per_file_byte"] = peakBytes / fileBytes(path);
    state.counters["read_gap_ms"] = readGap * 1000.0;
    state.counters["write_gap_ms"] = writeGap * 1000.0;
}

// orvane-cli from start to exit, report lines to /dev/null.
void BM_CliProcess(benchmark::State& state, RunShape shape) {
    const auto& path = ShapeFolder::instance().path(shape);
    const auto cli = std::filesystem::path(selfPath()).parent_path().parent_path() / "orvane-cli";
    if (!std::filesystem::exists(cli)) {
        state.SkipWithError(("orvane-cli is not built at " + cli.string()).c_str());
        return;
    }
    for (auto _ : state) {
        const ChildResult child = runChild({cli.string(), path.string()}, false);
        if (!child.ok) {
            state.SkipWithError("orvane-cli failed");
            return;
        }
        state.SetIterationTime(child.seconds);
    }
}

// One repair on a tree that has been read and surveyed (untimed).
void BM_Repair(benchmark::State& state, RunShape shape, Stage stage) {
    const auto& path = ShapeFolder::instance().path(shape);
    for (auto _ : state) {
        StagedRun run(shape.limits);
        if (!run.read(path)) {
            state.SkipWithError("the generated shape did not read");
            return;
        }
        run.survey();
        const auto start = Clock::now();
        runStage(run, stage, path, {});
        state.SetIterationTime(since(start));
        state.PauseTiming();
        run.state().r.reset();
        state.ResumeTiming();
    }
}

int repetitionsFor(const RunShape& shape) {
    if (shape.params.triangles >= 1000000) return 3;
    if (shape.params.triangles >= 100000) return 5;
    return 15;
}

void setUp(benchmark::internal::Benchmark* b, int repetitions) {
    b->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1)->Repetitions(repetitions);
    b->DisplayAggregatesOnly(true);
}

void registerAll() {
    for (const RunShape& shape : wholeRunShapes()) {
        const int reps = repetitionsFor(shape);
        auto named = [&](const char* what) { return std::string("Run/") + what + "/" + shape.name; };
        setUp(benchmark::RegisterBenchmark(named("BarePass").c_str(), BM_BarePass, shape, false), reps);
        setUp(benchmark::RegisterBenchmark(named("BarePassWindowed").c_str(), BM_BarePass, shape, true), reps);
        const std::pair<const char*, Stage> stages[] = {{"Read", Stage::Read},     {"Survey", Stage::Survey},
                                                        {"Split", Stage::Split},   {"Divide", Stage::Divide},
                                                        {"Animations", Stage::Animations}, {"Write", Stage::Write}};
        for (const auto& [name, stage] : stages)
            setUp(benchmark::RegisterBenchmark(named(name).c_str(), BM_Stage, shape, stage), reps);
        setUp(benchmark::RegisterBenchmark(named("Whole").c_str(), BM_WholeRun, shape), reps);
        setUp(benchmark::RegisterBenchmark(named("WholeFreshProcess").c_str(), BM_WholeRunFreshProcess, shape), reps);
        if (shape.name == "100k")
            setUp(benchmark::RegisterBenchmark(named("CliProcess").c_str(), BM_CliProcess, shape), reps);
    }
    const RunShape one = onePrimitiveShape();
    setUp(benchmark::RegisterBenchmark(("Run/SplitOnePrimitive/" + one.name).c_str(), BM_Repair, one, Stage::Split), 3);
    const RunShape fifty = fiftyNodeShape();
    setUp(benchmark::RegisterBenchmark(("Run/DivideSubObject/" + fifty.name).c_str(), BM_Repair, fifty, Stage::Divide),
          3);
}

const bool registered = (registerAll(), true);

}  // namespace

int runOnce(const char* path, const char* maxPrimFaces, const char* maxObjectPolys) {
    RunLimits limits;
    limits.maxPrimFaces = std::atoi(maxPrimFaces);
    limits.maxObjectPolys = std::atoi(maxObjectPolys);
    const WholeRunTimes times = timeWholeRun(path, limits);
    std::printf("%.6f %.6f %.6f\n", times.seconds, times.longestReadGap, times.longestWriteGap);
    std::fflush(stdout);
    std::_Exit(0);  // the released tree went with the run; nothing else to free
}

}  // namespace orvane::bench

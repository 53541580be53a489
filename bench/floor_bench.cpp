// orvane-cli against the floor, all as whole processes started one after
// the other in each repetition: floor_scan (one read of the file into new[]
// memory and one pass classing every UTF-16 code unit), floor_scan --huge
// (the same into memory advised for huge pages: on a machine where fresh
// 4 KiB pages are costly the plain floor is mostly page faults), orvane-cli's
// whole run (--make-small-polys-visible --min-edge-mm 5, writing the
// repaired shape) and its --report-only run, on the 100k and 1M shapes.
// Each figure is the median over the repetitions; the summary table divides
// the medians. The peak memory is that of the whole run's process.
//
// Run: scripts/run-bench --benchmark_filter=Floor

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "child_process.h"
#include "whole_run_shapes.h"

namespace orvane::bench {

namespace {

namespace fs = std::filesystem;

fs::path besideBench(const char* name) { return fs::path(selfPath()).parent_path() / name; }

void BM_AgainstFloor(benchmark::State& state, RunShape shape) {
    const fs::path floor = besideBench("floor_scan");
    const fs::path cli = besideBench("..") / "orvane-cli";
    for (const fs::path& program : {floor, cli})
        if (!fs::exists(program)) {
            state.SkipWithError((program.string() + " is not built").c_str());
            return;
        }
    const fs::path& path = ShapeFolder::instance().path(shape);
    const std::string file = path.string();
    const std::vector<std::vector<std::string>> runs = {
        {floor.string(), file},
        {cli.string(), "--make-small-polys-visible", "--min-edge-mm", "5", file},
        {floor.string(), "--huge", file},
        {cli.string(), "--report-only", "--make-small-polys-visible", "--min-edge-mm", "5", file},
    };
    const double fileBytes = static_cast<double>(fs::file_size(path));
    for (auto _ : state) {
        std::vector<ChildResult> results;
        for (const auto& argv : runs) {
            results.push_back(runChild(argv, false));
            if (!results.back().ok) {
                state.SkipWithError((argv.front() + " failed on " + file).c_str());
                return;
            }
        }
        state.SetIterationTime(results[1].seconds);
        state.counters["floor_ms"] = results[0].seconds * 1000.0;
        state.counters["whole_ms"] = results[1].seconds * 1000.0;
        state.counters["floor_huge_ms"] = results[2].seconds * 1000.0;
        state.counters["report_ms"] = results[3].seconds * 1000.0;
        state.counters["peak_per_file_byte"] = static_cast<double>(results[1].peakKiB) * 1024.0 / fileBytes;
        state.counters["file_MB"] = fileBytes / 1e6;
    }
}

void registerAll() {
    for (const RunShape& shape : wholeRunShapes()) {
        if (shape.params.triangles < 100000) continue;
        benchmark::RegisterBenchmark(("Run/AgainstFloor/" + shape.name).c_str(), BM_AgainstFloor, shape)
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime()
            ->Iterations(1)
            ->Repetitions(shape.params.triangles >= 1000000 ? 5 : 9)
            ->DisplayAggregatesOnly(true);
    }
}

const bool registered = (registerAll(), true);

}  // namespace

}  // namespace orvane::bench

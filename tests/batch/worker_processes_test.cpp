// Batch runs in worker processes against runs in threads, and a worker that
// dies.

#include <gtest/gtest.h>

#include <atomic>

#include "batch/batch_route.h"
#include "batch/batch_run.h"
#include "generator/shape_generator.h"
#include "support/shape_files.h"

#ifdef __linux__
#include <signal.h>
#include <unistd.h>

#include <fstream>
#endif

using namespace orvane;
using namespace orvane::batch;
using namespace orvane::test;

namespace {

BatchSummary runWith(const std::vector<FoundShape>& shapes, BatchSettings settings, bool processes,
                     BatchObserver* observer = nullptr, const std::atomic<bool>* stop = nullptr) {
    const std::atomic<bool> never{false};
    settings.jobs = 2;
    settings.workerProcesses = processes;
    return runBatch(shapes, settings, stop ? *stop : never, observer);
}

}  // namespace

TEST(BatchWorkers, ProcessesGiveTheRowsAndReportsOfThreads) {
    TempDir dir;
    writeMixedRoute(dir / "route");
    ShapeParameters params;
    params.triangles = 3000;
    params.lods = 2;
    params.subObjects = 2;
    params.shortEdgeFraction = 0.01;
    params.animation = GeneratedAnimation::Frames;
    params.animationFrames = 15;
    std::filesystem::create_directory(dir / "route/sub");
    writeGeneratedShape(dir / "route/sub/generated.s", params);
    BatchSettings settings;
    settings.limits.maxPrimFaces = 500;
    settings.switches.chkPoly = true;
    const auto shapes = shapesUnder(dir / "route");

    settings.reportsDir = dir / "threads";
    const BatchSummary threads = runWith(shapes, settings, false);
    settings.reportsDir = dir / "processes";
    const BatchSummary processes = runWith(shapes, settings, true);

    ASSERT_EQ(processes.rows.size(), shapes.size());
    ASSERT_EQ(threads.rows.size(), shapes.size());
    EXPECT_FALSE(processes.interrupted);
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        const ShapeRow& a = threads.rows[i];
        const ShapeRow& b = processes.rows[i];
        SCOPED_TRACE(a.path);
        EXPECT_EQ(a.path, b.path);
        EXPECT_EQ(a.outcome, b.outcome);
        EXPECT_EQ(a.problem, b.problem);
        EXPECT_EQ(a.output, b.output);
        EXPECT_EQ(a.bytes, b.bytes);
        ASSERT_EQ(a.figures.has_value(), b.figures.has_value());
        if (!a.figures) continue;
        const RunFigures& f = *a.figures;
        const RunFigures& g = *b.figures;
        EXPECT_EQ(std::tie(f.lods, f.subObjects, f.primitives, f.triangles, f.largestPrimitiveFaces,
                           f.largestSubObjectPolygons, f.oversizePrimitives, f.oversizeSubObjects, f.shortEdges,
                           f.liftedPoints, f.maxSubObjectVertices, f.animation),
                  std::tie(g.lods, g.subObjects, g.primitives, g.triangles, g.largestPrimitiveFaces,
                           g.largestSubObjectPolygons, g.oversizePrimitives, g.oversizeSubObjects, g.shortEdges,
                           g.liftedPoints, g.maxSubObjectVertices, g.animation));
        EXPECT_EQ(readBytes(dir / "threads" / (a.path + ".txt")), readBytes(dir / "processes" / (a.path + ".txt")));
    }
    EXPECT_GT(processes.rows[5].figures->shortEdges, 0);  // sub/generated.s
}

TEST(BatchWorkers, StoppingLeavesNothingPartialOnBothPaths) {
    TempDir dir;
    writeShapeNames(dir.path(), 8, true);
    const std::vector<FoundShape> shapes = shapesUnder(dir.path());

    for (bool processes : {false, true}) {
        SCOPED_TRACE(processes ? "processes" : "threads");
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            if (entry.path().extension() == ".sfixed") std::filesystem::remove(entry.path());
        // Stops once the first shape is under way, from the progress callback.
        struct StopAtFirstProgress : BatchObserver {
            std::atomic<bool> stop{false};
            void progress(const BatchProgress&) override { stop = true; }
        } observer;
        const BatchSummary summary = runWith(shapes, {}, processes, &observer, &observer.stop);
        EXPECT_TRUE(summary.interrupted);
        EXPECT_LT(summary.rows.size(), shapes.size());
        EXPECT_EQ(batchExitStatus(summary), 130);
        std::size_t outputs = 0;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
            const std::string name = entry.path().filename().string();
            EXPECT_FALSE(name.ends_with(".tmp")) << name;
            outputs += name.ends_with("fixed") ? 1 : 0;
        }
        std::size_t written = 0;
        for (const ShapeRow& row : summary.rows) written += row.output ? 1 : 0;
        EXPECT_EQ(outputs, written);  // every output there is a finished one
    }
}

#ifdef __linux__
// A worker killed while it runs a shape: that shape gets a stopped row, the
// others still run, and the batch does not wait for the dead worker.
TEST(BatchWorkers, AWorkerThatDiesLeavesAStoppedRow) {
    TempDir dir;
    writeShapeNames(dir.path(), 10, false);
    const std::vector<FoundShape> shapes = shapesUnder(dir.path());

    // Kills one child of this process at the first progress tick.
    struct KillAWorker : BatchObserver {
        bool killed = false;
        void progress(const BatchProgress&) override {
            if (killed) return;
            for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
                std::ifstream stat(entry.path() / "stat");
                std::string pid, name, state;
                long parent = 0;
                if (!(stat >> pid >> name >> state >> parent) || parent != ::getpid()) continue;
                killed = ::kill(std::stoi(pid), SIGKILL) == 0;
                return;
            }
        }
    } observer;
    BatchSettings reportOnly;
    reportOnly.switches.chkReport = true;
    const BatchSummary summary = runWith(shapes, reportOnly, true, &observer);
    ASSERT_TRUE(observer.killed);
    ASSERT_EQ(summary.rows.size(), shapes.size());
    std::size_t lost = 0;
    for (const ShapeRow& row : summary.rows)
        if (row.outcome == ShapeOutcome::Stopped) {
            EXPECT_EQ(row.problem, "the worker running this shape ended unexpectedly");
            ++lost;
        }
    EXPECT_EQ(lost, 1u);
    EXPECT_EQ(batchExitStatus(summary), 3);
}
#endif

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string_view>
#include <vector>

#include "batch_bench.h"
#include "batch_threads.h"
#include "progress_gaps.h"
#include "document/cls_reader.h"
#include "read_once.h"
#include "summary_table.h"
#include "whole_run_bench.h"
#include "whole_run_shapes.h"
#include "generator/shape_generator.h"

int readOnce(const char* path) {
    const auto start = std::chrono::steady_clock::now();
    orvane::NodePtr root = orvane::clsReader::create();
    root->ReadFile(path, true);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%.6f\n", root->Nodes().empty() ? -1.0 : seconds);
    std::fflush(stdout);
    std::_Exit(0);  // the tree goes with the process
}

// Writes the whole-run benchmark's shapes into a folder, to run orvane-cli
// or a profiler on them.
int writeShapes(const std::filesystem::path& folder) {
    using namespace orvane::bench;
    std::filesystem::create_directories(folder);
    std::vector<RunShape> shapes = wholeRunShapes();
    shapes.push_back(onePrimitiveShape());
    shapes.push_back(fiftyNodeShape());
    for (const RunShape& shape : shapes) {
        const auto path = folder / ("shape_" + shape.name + ".s");
        orvane::test::writeGeneratedShape(path, shape.params);
        std::printf("%s (limits %d faces, %d polygons)\n", path.c_str(), shape.limits.maxPrimFaces,
                    shape.limits.maxObjectPolys);
    }
    return 0;
}

int main(int argc, char** argv) {
    if (argc == 3 && std::string_view(argv[1]) == "--write-shapes") return writeShapes(argv[2]);
    if (argc == 3 && std::string_view(argv[1]) == "--write-batch-routes") {
        orvane::bench::writeBatchRoutes(argv[2]);
        return 0;
    }
    if ((argc == 4 || (argc == 5 && argv[4] == orvane::bench::kIdleThreadOption)) &&
        argv[1] == orvane::bench::kBatchInThreadsOption)
        return orvane::bench::batchInThreads(argv[2], argv[3], argc == 5);
    if (argc == 5 && argv[4] == orvane::bench::kNoFindingsOption && argv[1] == orvane::bench::kBatchInThreadsOption)
        return orvane::bench::batchInThreads(argv[2], argv[3], false, false);
    if (argc == 3 && argv[1] == kReadOnceOption) return readOnce(argv[2]);
    if ((argc == 3 || (argc == 4 && argv[3] == orvane::bench::kOutermostItemsOption)) &&
        argv[1] == orvane::bench::kProgressGapsOption)
        return orvane::bench::progressGaps(argv[2], argc == 4);
    if (argc == 4 && argv[1] == orvane::bench::kWriteShapeOption) return orvane::bench::writeShape(argv[2], argv[3]);
    if (argc == 5 && argv[1] == orvane::bench::kRunOnceOption) return orvane::bench::runOnce(argv[2], argv[3], argv[4]);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    orvane::bench::SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printSummary();
    benchmark::Shutdown();
    return 0;
}

// Reading and writing shape files of 10,000, 100,000 and 1,000,000
// triangles, measured against the bare pass: reading the file into memory
// and classifying every UTF-16 code unit, the least any reader must do.
// Also reported: the tree's heap size per byte of file, and the first read
// in a newly started process (what a user of the program waits for).

#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "bare_pass.h"
#include "document/cls_reader.h"
#include "read_once.h"
#include "generator/shape_generator.h"

namespace {

using orvane::clsReader;
using orvane::NodePtr;

// The generated shapes, made once on first use and removed at exit.
class BenchShapes {
public:
    static BenchShapes& instance() {
        static BenchShapes shapes;
        return shapes;
    }
    const std::filesystem::path& shape(std::int64_t triangles) {
        auto it = files_.find(triangles);
        if (it != files_.end()) return it->second;
        orvane::test::ShapeParameters params;
        params.triangles = triangles;
        params.subObjects = triangles >= 100000 ? 4 : 1;
        params.geometryNodesPerSubObject = 3;
        params.lods = 2;
        params.trianglesPerPrimitive = 2000;
        params.shortEdgeFraction = 0.001;
        const auto path = folder_ / ("shape_" + std::to_string(triangles) + ".s");
        orvane::test::writeGeneratedShape(path, params);
        return files_.emplace(triangles, path).first->second;
    }
    std::filesystem::path output() const { return folder_ / "written.s"; }
    ~BenchShapes() {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }

private:
    BenchShapes() : folder_(std::filesystem::temp_directory_path() / ("orvane-bench-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(folder_);
    }
    std::filesystem::path folder_;
    std::map<std::int64_t, std::filesystem::path> files_;
};

std::size_t heapInUse() {
#if defined(__GLIBC__)
    return mallinfo2().uordblks;
#else
    return 0;
#endif
}

void BM_BarePass(benchmark::State& state) {
    const auto& path = BenchShapes::instance().shape(state.range(0));
    const auto size = static_cast<std::size_t>(std::filesystem::file_size(path));
    for (auto _ : state) benchmark::DoNotOptimize(orvane::bench::barePass(path));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}

// The same pass over a small reused buffer (see bare_pass.h).
void BM_BarePassWindowed(benchmark::State& state) {
    const auto& path = BenchShapes::instance().shape(state.range(0));
    const auto size = static_cast<std::size_t>(std::filesystem::file_size(path));
    for (auto _ : state) benchmark::DoNotOptimize(orvane::bench::barePassWindowed(path));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}

void BM_ReadFile(benchmark::State& state) {
    const auto& path = BenchShapes::instance().shape(state.range(0));
    const auto size = static_cast<double>(std::filesystem::file_size(path));
    double treeBytes = 0;
    for (auto _ : state) {
        const std::size_t before = heapInUse();
        NodePtr root = clsReader::create();
        root->ReadFile(path, true);
        benchmark::DoNotOptimize(root->Nodes().size());
        state.PauseTiming();
        treeBytes = static_cast<double>(heapInUse() - before);
        if (root->Nodes().empty()) state.SkipWithError("the generated shape did not read");
        root.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(static_cast<double>(state.iterations()) * size));
    state.counters["tree_bytes_per_file_byte"] = treeBytes / size;
}

// ReadFile as a program that has just started meets it: each read runs in
// a newly started copy of this program (see bench_main.cpp), so none of
// the memory it touches was used before.
void BM_ReadFileFreshProcess(benchmark::State& state) {
    const auto& path = BenchShapes::instance().shape(state.range(0));
    const auto size = static_cast<double>(std::filesystem::file_size(path));
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const std::string command = "'" + self + "' " + std::string(kReadOnceOption) + " '" + path.string() + "'";
    for (auto _ : state) {
        std::FILE* child = ::popen(command.c_str(), "r");
        double seconds = -1;
        if (!child || std::fscanf(child, "%lf", &seconds) != 1) seconds = -1;
        if (child) ::pclose(child);
        if (seconds < 0) {
            state.SkipWithError("the fresh process did not read the shape");
            break;
        }
        state.SetIterationTime(seconds);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(static_cast<double>(state.iterations()) * size));
}

void BM_SaveFile(benchmark::State& state) {
    auto& shapes = BenchShapes::instance();
    const auto& path = shapes.shape(state.range(0));
    NodePtr root = clsReader::create();
    root->ReadFile(path, true);
    if (root->Nodes().empty()) state.SkipWithError("the generated shape did not read");
    for (auto _ : state) root->SaveFile(shapes.output());
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(shapes.output())));
}

// Per size: the two bare passes, then reading (in this process and in a
// fresh one) and writing, so the figures of one size are measured side by
// side.
void registerAll() {
    for (std::int64_t n : {10000, 100000, 1000000}) {
        auto setup = [n](benchmark::internal::Benchmark* b, bool manualTime = false) {
            b->Unit(benchmark::kMillisecond)->Arg(n);
            if (manualTime) b->UseManualTime();
            else b->UseRealTime();
            if (n >= 1000000) b->Iterations(3);
            else if (n >= 100000) b->MinTime(1.0);
        };
        setup(benchmark::RegisterBenchmark("BarePass", BM_BarePass));
        setup(benchmark::RegisterBenchmark("BarePassWindowed", BM_BarePassWindowed));
        setup(benchmark::RegisterBenchmark("ReadFile", BM_ReadFile));
        setup(benchmark::RegisterBenchmark("ReadFileFreshProcess", BM_ReadFileFreshProcess), true);
        setup(benchmark::RegisterBenchmark("SaveFile", BM_SaveFile));
    }
}

const bool registered = (registerAll(), true);

}  // namespace

// Pictures of a shape: drawing 100k and 1M triangles at 1280x800, building
// the triangles of a LOD against reading the shape, the bytes kept per
// triangle, a 480x300 picture of 10k triangles drawn and encoded, and batch
// mode with --pictures against the same batch without.
//
// Run: scripts/run-bench --benchmark_filter=Picture

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "child_process.h"
#include "document/cls_reader.h"
#include "generator/shape_files.h"
#include "generator/shape_generator.h"
#include "geometry/lod_geometry.h"
#include "picture/png_file.h"
#include "picture/shape_picture.h"

namespace orvane::bench {

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// One LOD of about `triangles` triangles in four sub-objects, a few short
// edges; the file, its tree and the LOD's triangles, made once.
struct PictureShape {
    test::TempDir dir;
    NodePtr root;
    geometry::LodGeometry lod;
    double readSeconds = 0;
    double buildSeconds = 0;

    static PictureShape& of(std::int64_t triangles) {
        static std::map<std::int64_t, std::unique_ptr<PictureShape>> shapes;
        auto& slot = shapes[triangles];
        if (!slot) slot.reset(new PictureShape(triangles));
        return *slot;
    }

private:
    explicit PictureShape(std::int64_t triangles) {
        test::ShapeParameters params;
        params.triangles = triangles;
        params.subObjects = triangles >= 100000 ? 4 : 1;
        params.geometryNodesPerSubObject = 3;
        params.shortEdgeFraction = 0.001;
        const fs::path file = dir / "shape.s";
        test::writeGeneratedShape(file, params);
        root = clsReader::create();
        auto start = Clock::now();
        root->ReadFile(file, true);
        readSeconds = secondsSince(start);
        start = Clock::now();
        lod = geometry::buildLodGeometry(*root, 0, RunLimits{});
        buildSeconds = secondsSince(start);
    }
};

void BM_PictureDraw(benchmark::State& state) {
    PictureShape& shape = PictureShape::of(state.range(0));
    const picture::Camera camera = picture::fittedCamera(shape.lod, picture::ViewKind::Iso, 1280, 800);
    picture::DrawOptions options;
    options.threads = static_cast<int>(state.range(1));
    for (auto _ : state) benchmark::DoNotOptimize(picture::drawLod(shape.lod, camera, 1280, 800, options));
    state.counters["triangles"] = static_cast<double>(shape.lod.triangles.size());
    state.counters["bytes_per_triangle"] =
        static_cast<double>(shape.lod.bytesKept()) / static_cast<double>(shape.lod.triangles.size());
}

// The build of the LOD's triangles, and the read of the whole shape, each timed once.
void BM_PictureBuildLod(benchmark::State& state) {
    PictureShape& shape = PictureShape::of(state.range(0));
    for (auto _ : state) {
        const auto start = Clock::now();
        benchmark::DoNotOptimize(geometry::buildLodGeometry(*shape.root, 0, RunLimits{}));
        state.SetIterationTime(secondsSince(start));
    }
    state.counters["read_s"] = shape.readSeconds;
    state.counters["build_per_read"] = shape.buildSeconds / shape.readSeconds;
    state.counters["bytes_per_triangle"] =
        static_cast<double>(shape.lod.bytesKept()) / static_cast<double>(shape.lod.triangles.size());
}

void BM_PictureSmallPng(benchmark::State& state) {
    PictureShape& shape = PictureShape::of(10000);
    const picture::Camera camera = picture::fittedCamera(shape.lod, picture::ViewKind::Iso, 480, 300);
    std::size_t bytes = 0;
    for (auto _ : state) {
        const picture::Image image = picture::drawLod(shape.lod, camera, 480, 300, picture::DrawOptions{});
        bytes = picture::encodePng(image).size();
    }
    state.counters["png_bytes"] = static_cast<double>(bytes);
}

// A route of 120 shapes (about 60 MB): scenery, rolling stock of three
// LODs and a large shape, as the batch benchmark's route but smaller.
struct PictureRoute {
    test::TempDir dir;
    PictureRoute() {
        for (const char* sub : {"route/scenery", "route/trains", "route/large"}) fs::create_directories(dir / sub);
        for (int i = 0; i < 96; ++i) {
            test::ShapeParameters p;
            p.triangles = 20 + (i * 37) % 130;
            p.seed = static_cast<std::uint64_t>(i);
            test::writeGeneratedShape(dir / "route/scenery" / ("s" + std::to_string(i) + ".s"), p);
        }
        for (int i = 0; i < 22; ++i) {
            test::ShapeParameters p;
            p.triangles = 1400 + (i * 613) % 12600;
            p.lods = 3;
            p.subObjects = 4;
            p.shortEdgeFraction = 0.001;
            p.seed = static_cast<std::uint64_t>(1000 + i);
            test::writeGeneratedShape(dir / "route/trains" / ("t" + std::to_string(i) + ".s"), p);
        }
        for (int i = 0; i < 2; ++i) {
            test::ShapeParameters p;
            p.triangles = 60000;
            p.lods = 2;
            p.subObjects = 8;
            p.seed = static_cast<std::uint64_t>(2000 + i);
            test::writeGeneratedShape(dir / "route/large" / ("l" + std::to_string(i) + ".s"), p);
        }
    }
};

void BM_PictureBatchRoute(benchmark::State& state) {
    static PictureRoute route;
    const std::string cli = (fs::path(selfPath()).parent_path().parent_path() / "orvane-cli").string();
    const std::string folder = (route.dir / "route").string();
    ChildResult plain, pictures;
    for (auto _ : state) {
        plain = runChild({cli, "--report-only", "--jobs", "2", "--format", "csv", folder}, false);
        fs::remove_all(route.dir / "pictures");
        pictures = runChild({cli, "--report-only", "--jobs", "2", "--format", "csv", "--pictures",
                             (route.dir / "pictures").string(), folder},
                            false);
        state.SetIterationTime(pictures.seconds);
    }
    state.counters["without_s"] = plain.seconds;
    state.counters["with_s"] = pictures.seconds;
    state.counters["ratio"] = plain.seconds > 0 ? pictures.seconds / plain.seconds : 0;
    if (!plain.ok || !pictures.ok) state.SkipWithError("a batch run failed");
}

}  // namespace

BENCHMARK(BM_PictureDraw)->Name("Picture/Draw")->ArgNames({"triangles", "threads"})
    ->Args({100000, 1})->Args({100000, 2})->Args({1000000, 2})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PictureBuildLod)->Name("Picture/BuildLod")->Arg(1000000)->UseManualTime()->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PictureSmallPng)->Name("Picture/SmallPng/10k")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PictureBatchRoute)->Name("Picture/BatchRoute")->UseManualTime()->Iterations(1)->Repetitions(3)
    ->Unit(benchmark::kSecond);

}  // namespace orvane::bench

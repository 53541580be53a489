// Compressed shapes against their text: reading one shape (the 3.3 MB real
// pair when ../shared is there, and a generated shape of 200,000 triangles
// compressed with the compressed writer), and batch --report-only over a
// generated route stored compressed and the same route stored as text.
// Every figure is in MB of shape text (the text twin's size) per second.
//
// Run: scripts/run-bench --benchmark_filter=Forms

#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "child_process.h"
#include "document/cls_reader.h"
#include "generator/shape_files.h"
#include "generator/shape_generator.h"

namespace orvane::bench {

namespace {

namespace fs = std::filesystem;

// A shape as text and compressed, the text being what the compressed shape
// reads as (so both hold the same tree).
struct ShapePair {
    fs::path text;
    fs::path compressed;
};

ShapePair pairFromText(const fs::path& generated, const fs::path& folder, const std::string& name) {
    ShapePair pair{folder / (name + ".s"), folder / (name + "_compressed.s")};
    NodePtr root = clsReader::create();
    root->ReadFile(generated, true);
    root->SaveCompressedFile(pair.compressed);
    root = clsReader::create();
    root->ReadFile(pair.compressed, true);
    root->SaveFile(pair.text);
    return pair;
}

struct FormShapes {
    test::TempDir dir;
    ShapePair generated;
    ShapePair real;  // empty without the real corpus
    fs::path textRoute, compressedRoute;
    double routeTextMegabytes = 0;

    static FormShapes& instance() {
        static FormShapes shapes;
        return shapes;
    }

private:
    FormShapes() : textRoute(dir / "text-route"), compressedRoute(dir / "compressed-route") {
        test::ShapeParameters params;
        params.triangles = 200000;
        params.lods = 2;
        params.subObjects = 4;
        params.geometryNodesPerSubObject = 3;
        test::writeGeneratedShape(dir / "generated.s", params);
        generated = pairFromText(dir / "generated.s", dir.path(), "large");
        const fs::path compressedCorpus = fs::path(ORVANE_CORPUS_DIR).parent_path() / "corpus-compressed";
        const fs::path realCompressed = compressedCorpus / "shapeio__DK10f_A1tPnt5dLft_compressed.s";
        if (fs::exists(realCompressed))
            real = {fs::path(ORVANE_CORPUS_DIR) / "shapeio__DK10f_A1tPnt5dLft.s", realCompressed};

        // A route of 120 shapes: scenery, rolling stock and a few large ones.
        fs::create_directories(textRoute);
        fs::create_directories(compressedRoute);
        for (int i = 0; i < 120; ++i) {
            test::ShapeParameters p;
            p.triangles = i < 80 ? 40 + i * 2 : i < 116 ? 1500 + (i - 80) * 350 : 40000;
            p.lods = i < 80 ? 1 : 2;
            p.subObjects = i < 80 ? 1 : 4;
            p.animation = i >= 80 && i < 116 ? test::GeneratedAnimation::Frames : test::GeneratedAnimation::None;
            p.seed = static_cast<std::uint64_t>(i);
            const std::string name = "s" + std::to_string(i);
            test::writeGeneratedShape(dir / "one.s", p);
            const ShapePair pair = pairFromText(dir / "one.s", dir.path(), name);
            fs::rename(pair.text, textRoute / (name + ".s"));
            fs::rename(pair.compressed, compressedRoute / (name + ".s"));
            routeTextMegabytes += static_cast<double>(fs::file_size(textRoute / (name + ".s"))) / 1e6;
        }
    }
};

void readShape(benchmark::State& state, const fs::path& file, const fs::path& text) {
    for (auto _ : state) {
        NodePtr root = clsReader::create();
        root->ReadFile(file, true);
        if (root->Nodes().empty()) state.SkipWithError("the shape did not read");
        benchmark::DoNotOptimize(root->Nodes().size());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fs::file_size(text)));
}

void BM_ReadRealText(benchmark::State& state) {
    const ShapePair& pair = FormShapes::instance().real;
    if (pair.text.empty()) return state.SkipWithError("no real compressed corpus");
    readShape(state, pair.text, pair.text);
}
void BM_ReadRealCompressed(benchmark::State& state) {
    const ShapePair& pair = FormShapes::instance().real;
    if (pair.text.empty()) return state.SkipWithError("no real compressed corpus");
    readShape(state, pair.compressed, pair.text);
}
void BM_ReadGeneratedText(benchmark::State& state) {
    const ShapePair& pair = FormShapes::instance().generated;
    readShape(state, pair.text, pair.text);
}
void BM_ReadGeneratedCompressed(benchmark::State& state) {
    const ShapePair& pair = FormShapes::instance().generated;
    readShape(state, pair.compressed, pair.text);
}

void batchRoute(benchmark::State& state, const fs::path& route) {
    const FormShapes& shapes = FormShapes::instance();
    const fs::path cli = fs::path(selfPath()).parent_path().parent_path() / "orvane-cli";
    for (auto _ : state) {
        const ChildResult r =
            runChild({cli.string(), "--report-only", "--jobs", "2", "--format", "csv", route.string()}, false);
        if (!r.ok) return state.SkipWithError("the batch run failed");
        state.SetIterationTime(r.seconds);
        state.counters["text_MB_per_s"] = shapes.routeTextMegabytes / r.seconds;
    }
    state.counters["route_text_MB"] = shapes.routeTextMegabytes;
}
void BM_BatchText(benchmark::State& state) { batchRoute(state, FormShapes::instance().textRoute); }
void BM_BatchCompressed(benchmark::State& state) { batchRoute(state, FormShapes::instance().compressedRoute); }

BENCHMARK(BM_ReadRealText)->Name("Forms/Read/Real3.3MB/Text")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadRealCompressed)->Name("Forms/Read/Real3.3MB/Compressed")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadGeneratedText)->Name("Forms/Read/Generated200kTriangles/Text")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadGeneratedCompressed)
    ->Name("Forms/Read/Generated200kTriangles/Compressed")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_BatchText)->Name("Forms/BatchReportOnly/Text")->UseManualTime()->Iterations(1)->Repetitions(3)->Unit(benchmark::kSecond);
BENCHMARK(BM_BatchCompressed)
    ->Name("Forms/BatchReportOnly/Compressed")
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(3)
    ->Unit(benchmark::kSecond);

}  // namespace

}  // namespace orvane::bench

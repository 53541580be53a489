// The batch layer: which files are shapes, one row per shape and outcome,
// the figures against the report lines, and stopping part-way.

#include <gtest/gtest.h>

#include <atomic>
#include <nlohmann/json.hpp>

#include "batch/batch_route.h"
#include "batch/batch_run.h"
#include "batch/summary_format.h"
#include "generator/sample_shapes.h"
#include "generator/shape_generator.h"
#include "support/shape_files.h"
#include "support/shape_forms.h"

using namespace orvane;
using namespace orvane::batch;
using namespace orvane::test;

namespace {

BatchSummary runQuietly(const std::vector<FoundShape>& shapes, BatchSettings settings = {}) {
    std::atomic<bool> stop{false};
    settings.jobs = 2;
    return runBatch(shapes, settings, stop);
}

const ShapeRow& rowOf(const BatchSummary& summary, const std::string& path) {
    for (const ShapeRow& row : summary.rows)
        if (row.path == path) return row;
    throw std::runtime_error("no row for " + path);
}

}  // namespace

TEST(BatchShapes, FoldersAreSearchedRecursivelyInPathOrder) {
    TempDir dir;
    std::filesystem::create_directories(dir / "route/b/deep");
    std::filesystem::create_directories(dir / "elsewhere");
    for (const char* name : {"route/b/deep/z.s", "route/b/A.S", "route/a.s", "route/B.s", "route/notes.txt",
                             "route/b/x.sd", "elsewhere/linked.s"})
        writeShape(dir / name, smallShape());
#ifndef _WIN32  // links need privileges there
    std::filesystem::create_directory_symlink(dir / "elsewhere", dir / "route/link");
#endif

    std::vector<std::string> paths;
    for (const FoundShape& shape : shapesUnder(dir / "route")) paths.push_back(shape.path);
    EXPECT_EQ(paths, (std::vector<std::string>{"B.s", "a.s", "b/A.S", "b/deep/z.s"}));

    std::string error;
    EXPECT_FALSE(findShapes({(dir / "route").string(), (dir / "missing").string()}, error));
    EXPECT_NE(error.find("missing"), std::string::npos);
}

TEST(BatchRun, EachFormHasItsFieldAndTotal) {
    TempDir dir;
    writeGeneratedForms(dir.path(), 500);
    writeBytes(dir / "notes.s", "not a shape");
    BatchSettings settings;
    settings.switches.chkReport = true;
    const BatchSummary summary = runQuietly(shapesUnder(dir.path()), settings);
    EXPECT_EQ(rowOf(summary, "twin.s").form, ShapeForm::Text);
    EXPECT_EQ(rowOf(summary, "8bit.s").form, ShapeForm::Text8Bit);
    EXPECT_EQ(rowOf(summary, "compressed.s").form, ShapeForm::Compressed);
    EXPECT_EQ(rowOf(summary, "binary.s").form, ShapeForm::Binary);
    EXPECT_EQ(rowOf(summary, "notes.s").form, ShapeForm::Unknown);
    const auto json = nlohmann::json::parse(formatSummary(summary, SummaryFormat::Json));
    EXPECT_EQ(json.at("totals").at("form_text"), 2);  // twin.s and generated.s
    EXPECT_EQ(json.at("totals").at("form_compressed"), 2);  // and generated-compressed.s
    EXPECT_EQ(json.at("totals").at("form_binary"), 1);
    EXPECT_EQ(json.at("totals").at("form_text-8bit"), 1);
    for (const auto& row : json.at("shapes"))
        if (row.at("path") == "notes.s") {
            EXPECT_TRUE(row.at("form").is_null());
        }
}

TEST(BatchRun, EachOutcomeHasItsRow) {
    TempDir dir;
    writeMixedRoute(dir.path());
    const BatchSummary summary = runQuietly(shapesUnder(dir.path()));
    ASSERT_EQ(summary.rows.size(), 5u);
    EXPECT_EQ(rowOf(summary, "ok.s").outcome, ShapeOutcome::Ok);
    const ShapeRow& retimed = rowOf(summary, "retimed.s");
    EXPECT_EQ(retimed.outcome, ShapeOutcome::Repaired);
    EXPECT_EQ(retimed.output, (dir / "retimed.sfixed").generic_string());
    EXPECT_EQ(retimed.figures->animation, RunFigures::Animation::Retimed);
    const ShapeRow& compressed = rowOf(summary, "compressed.s");
    EXPECT_EQ(compressed.outcome, ShapeOutcome::Unreadable);
    EXPECT_NE(compressed.problem->find("compressed shape"), std::string::npos);
    EXPECT_FALSE(compressed.figures);
    const ShapeRow& stopped = rowOf(summary, "stopped.s");
    EXPECT_EQ(stopped.outcome, ShapeOutcome::Stopped);
    EXPECT_TRUE(stopped.problem);
    EXPECT_EQ(stopped.figures->subObjects, 1);  // counted until the stop
    EXPECT_EQ(rowOf(summary, "blocked.s").outcome, ShapeOutcome::WriteFailed);
    EXPECT_EQ(batchExitStatus(summary), 4);

    BatchSettings reportOnly;
    reportOnly.switches.chkReport = true;
    std::filesystem::remove(dir / "retimed.sfixed");
    const BatchSummary check = runQuietly(shapesUnder(dir.path()), reportOnly);
    EXPECT_EQ(rowOf(check, "retimed.s").outcome, ShapeOutcome::WouldRepair);
    EXPECT_FALSE(std::filesystem::exists(dir / "retimed.sfixed"));
}

TEST(BatchRun, UnreadableKindsAreTold) {
    TempDir dir;
    writeBytes(dir / "binary.s", "SIMISA@@@@@@@@@@JINX0s1b______\r\n\x01\x02");
    writeBytes(dir / "narrow.s", "SIMISA@@@@@@@@@@JINX0s1t______\r\nshape ( )");
    writeBytes(dir / "other.s", "hello");
    const BatchSummary summary = runQuietly(shapesUnder(dir.path()));
    EXPECT_NE(rowOf(summary, "binary.s").problem->find("binary shape"), std::string::npos);
    EXPECT_NE(rowOf(summary, "narrow.s").problem->find("8-bit text"), std::string::npos);
    EXPECT_NE(rowOf(summary, "other.s").problem->find("not a shape file"), std::string::npos);
    EXPECT_EQ(batchExitStatus(summary), 1);
}

TEST(BatchSummaryJson, ParsesBackFieldByField) {
    TempDir dir;
    writeMixedRoute(dir.path());
    BatchSettings reportOnly;
    reportOnly.switches.chkReport = true;
    const auto json = nlohmann::json::parse(formatSummary(runQuietly(shapesUnder(dir.path()), reportOnly), SummaryFormat::Json));
    const auto& shapes = json.at("shapes");
    ASSERT_EQ(shapes.size(), 5u);
    EXPECT_EQ(shapes[0].at("path"), "blocked.s");  // sorted by path
    const auto& ok = shapes[2];
    EXPECT_EQ(ok.at("path"), "ok.s");
    EXPECT_EQ(ok.at("outcome"), "ok");
    EXPECT_TRUE(ok.at("problem").is_null());
    for (const char* field : {"lods", "sub_objects", "primitives"}) EXPECT_EQ(ok.at(field), 1) << field;
    for (const char* field : {"triangles", "largest_primitive_faces", "largest_sub_object_polygons"})
        EXPECT_EQ(ok.at(field), 2) << field;
    for (const char* field : {"oversize_primitives", "oversize_sub_objects", "short_edges", "lifted_points"})
        EXPECT_EQ(ok.at(field), 0) << field;
    EXPECT_EQ(ok.at("animation"), "none");
    EXPECT_EQ(ok.at("max_sub_object_vertices"), 4);
    EXPECT_EQ(ok.at("index_overflow"), false);
    EXPECT_TRUE(ok.at("output").is_null());
    EXPECT_TRUE(ok.at("seconds").is_number());
    const auto& compressed = shapes[1];
    EXPECT_EQ(compressed.at("outcome"), "unreadable");
    EXPECT_TRUE(compressed.at("triangles").is_null());
    EXPECT_TRUE(compressed.at("index_overflow").is_null());
    EXPECT_EQ(shapes[0].at("outcome"), "would-repair");
    EXPECT_EQ(shapes[3].at("animation"), "retimed");

    const auto& totals = json.at("totals");
    EXPECT_EQ(totals.at("shapes_found"), 5);
    EXPECT_EQ(totals.at("would-repair"), 2);
    EXPECT_EQ(totals.at("unreadable"), 1);
    EXPECT_EQ(totals.at("stopped"), 1);
    EXPECT_EQ(totals.at("ok"), 1);
}

TEST(BatchSummaryCsv, QuotesFieldsWithCommasAndQuotes) {
    EXPECT_EQ(csvField("plain.s"), "plain.s");
    EXPECT_EQ(csvField("a,\"b\".s"), "\"a,\"\"b\"\".s\"");
    BatchSummary summary;
    summary.found = 1;
    summary.rows.emplace_back().path = "a,\"b\".s";
    summary.rows.back().figures = RunFigures{};
    const std::string text = formatSummary(summary, SummaryFormat::Csv);
    EXPECT_NE(text.find("\r\n\"a,\"\"b\"\".s\",ok,,,0,"), std::string::npos) << text;
}

TEST(BatchFigures, IndexOverflowPastSixteenBitVertices) {
    TempDir dir;
    writeShape(dir / "full.s", shapeWithVertices(65535));
    writeShape(dir / "over.s", shapeWithVertices(65536));
    const BatchSummary summary = runQuietly(shapesUnder(dir.path()));
    const auto json = nlohmann::json::parse(formatSummary(summary, SummaryFormat::Json));
    EXPECT_EQ(json["shapes"][0]["max_sub_object_vertices"], 65535);
    EXPECT_EQ(json["shapes"][0]["index_overflow"], false);
    EXPECT_EQ(json["shapes"][1]["max_sub_object_vertices"], 65536);
    EXPECT_EQ(json["shapes"][1]["index_overflow"], true);
    EXPECT_EQ(json["totals"]["index_overflow"], 1);
}

// The figures are counted where the report lines are made; here they are
// checked against the lines of generated shapes with every kind of line.
TEST(BatchFigures, AgreeWithTheReportLines) {
    TempDir dir;
    ShapeParameters params;
    params.triangles = 6000;
    params.lods = 3;
    params.subObjects = 2;
    params.trianglesPerPrimitive = 700;
    params.shortEdgeFraction = 0.01;
    params.animationFrames = 15;
    std::filesystem::create_directory(dir / "shapes");
    writeGeneratedShape(dir / "shapes/frames.s", (params.animation = GeneratedAnimation::Frames, params));
    writeGeneratedShape(dir / "shapes/redundant.s", (params.animation = GeneratedAnimation::Redundant, params));
    BatchSettings settings;
    settings.limits.maxPrimFaces = 500;
    settings.limits.maxObjectPolys = 1500;
    settings.switches.chkPoly = true;
    settings.switches.chkReport = true;
    settings.reportsDir = dir / "reports";
    const BatchSummary summary = runQuietly(shapesUnder(dir / "shapes"), settings);
    ASSERT_EQ(summary.rows.size(), 2u);
    for (const ShapeRow& row : summary.rows) {
        SCOPED_TRACE(row.path);
        const RunFigures told = figuresFromReport(readBytes(dir / "reports" / (row.path + ".txt")));
        const RunFigures& f = *row.figures;
        EXPECT_EQ(f.lods, told.lods);
        EXPECT_EQ(f.subObjects, told.subObjects);
        EXPECT_EQ(f.primitives, told.primitives);
        EXPECT_EQ(f.triangles, told.triangles);
        EXPECT_EQ(f.largestPrimitiveFaces, told.largestPrimitiveFaces);
        EXPECT_EQ(f.largestSubObjectPolygons, told.largestSubObjectPolygons);
        EXPECT_EQ(f.oversizePrimitives, told.oversizePrimitives);
        EXPECT_EQ(f.oversizeSubObjects, told.oversizeSubObjects);
        EXPECT_EQ(f.shortEdges, told.shortEdges);
        EXPECT_EQ(f.liftedPoints, told.shortEdges);  // every short edge lifts a point
        EXPECT_EQ(f.animation, told.animation);
        EXPECT_GT(f.oversizePrimitives * f.oversizeSubObjects * f.shortEdges, 0);
    }
}

// Findings as orvane-cli shows them: after the report of a single run with
// --findings, and in every row and the totals of a batch.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "generator/sample_shapes.h"
#include "support/cli_process.h"
#include "support/shape_files.h"

using namespace orvane::test;
namespace fs = std::filesystem;

namespace {

// A route whose SHAPES folder holds a clean shape and one with a point
// number out of range and a texture the TEXTURES folder lacks.
void writeRoute(const fs::path& route) {
    fs::create_directories(route / "SHAPES");
    fs::create_directories(route / "TEXTURES");
    writeBytes(route / "TEXTURES" / "here.ace", "");
    const std::string matrices = "\tmatrices ( 1 matrix MAIN ( 1 0 0 0 1 0 0 0 1 0 0 0 ) )\r\n";
    writeShape(route / "SHAPES" / "clean.s", smallShape("", matrices + "\timages ( 1 image ( here.ace ) )\r\n"));
    std::string bad = smallShape("", matrices + "\timages ( 2 image ( here.ace ) image ( gone.ace ) )\r\n");
    bad.replace(bad.find("vertex ( 00000000 3 0"), 21, "vertex ( 00000000 9 0");
    writeShape(route / "SHAPES" / "bad.s", bad);
}

TEST(FindingsCli, FindingsOptionListsThemAfterTheReport) {
    TempDir dir;
    writeRoute(dir / "route");
    const std::string shape = quoted(dir / "route" / "SHAPES" / "bad.s");
    const CliResult plain = runCli(dir.path(), shape);
    const CliResult listed = runCli(dir.path(), "--findings --textures " + quoted(dir.path()) + " " + shape);
    EXPECT_EQ(listed.status, plain.status);
    ASSERT_TRUE(listed.out.starts_with(plain.out)) << listed.out;
    EXPECT_EQ(listed.out.substr(plain.out.size()),
              "Findings\t2\n"
              "reference-out-of-range\tfails-to-load\tLOD 0, sub-object 0, vertex 3 value 2\t"
              "point 9 is not there: there are 4\n"
              "texture-not-found\tdraws-wrong\timage 1 value 1\ttexture \"gone.ace\" is in none of " +
                  (dir / "route" / "TEXTURES").generic_string() + ", " + dir.path().generic_string() + "\n");
    EXPECT_EQ(runCli(dir.path(), "--findings " + quoted(dir / "route" / "SHAPES" / "clean.s")).out,
              runCli(dir.path(), quoted(dir / "route" / "SHAPES" / "clean.s")).out + "Findings\t0\n");
}

TEST(FindingsCli, BatchRowsListThemAndTheTotalsCountEachKind) {
    TempDir dir;
    writeRoute(dir / "route");
    const CliResult json = runCli(dir.path(), "--report-only --jobs 2 --format json " + quoted(dir / "route"));
    // The point out of range stops the run of bad.s; its findings come from
    // the shape as read all the same.
    ASSERT_EQ(json.status, 3) << json.err;
    const auto summary = nlohmann::json::parse(json.out);
    const auto& bad = summary["shapes"][0];
    ASSERT_EQ(bad["path"], "SHAPES/bad.s");
    EXPECT_EQ(bad["findings_count"], 2);
    ASSERT_EQ(bad["findings"].size(), 2u);
    const auto& first = bad["findings"][0];
    EXPECT_EQ(first["kind"], "reference-out-of-range");
    EXPECT_EQ(first["severity"], "fails-to-load");
    EXPECT_EQ(first["place"],
              nlohmann::json::parse(R"({"lod":0,"sub_object":0,"primitive":null,"triangle":null,)"
                                    R"("block":"vertex","index":3,"value":2})"));
    EXPECT_EQ(first["where"], "LOD 0, sub-object 0, vertex 3 value 2");
    EXPECT_EQ(bad["findings"][1]["kind"], "texture-not-found");
    EXPECT_EQ(summary["shapes"][1]["findings_count"], 0);
    EXPECT_EQ(summary["totals"]["findings"]["reference-out-of-range"], 1);
    EXPECT_EQ(summary["totals"]["findings"]["texture-not-found"], 1);
    EXPECT_EQ(summary["totals"]["findings"]["hierarchy-loop"], 0);

    const CliResult csv = runCli(dir.path(), "--report-only --format csv " + quoted(dir / "route"));
    EXPECT_NE(csv.out.find(",seconds,findings_count\r\n"), std::string::npos) << csv.out;
    EXPECT_NE(csv.out.find("findings reference-out-of-range,1\r\n"), std::string::npos) << csv.out;
    const CliResult table = runCli(dir.path(), "--report-only " + quoted(dir / "route"));
    EXPECT_NE(table.out.find("findings texture-not-found 1\n"), std::string::npos) << table.out;
}

}  // namespace

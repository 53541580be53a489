// Runs the built orvane-cli as a whole process.

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "document/path_text.h"
#include "document/system_reason.h"
#include "generator/sample_shapes.h"
#include "support/cli_process.h"
#include "support/shape_files.h"

using namespace orvane;
using namespace orvane::test;

TEST(Cli, UsageErrorsExitTwo) {
    TempDir dir;
    for (const char* args : {"", "--max-prim-faces", "--max-prim-faces 12.5 x.s", "--max-prim-faces abc x.s",
                             "--max-object-polys 99999999999 x.s", "--min-edge-mm wide x.s", "--bogus x.s",
                             "a.s b.s", "--report-only=yes x.s"}) {
        CliResult r = runCli(dir.path(), args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_NE(r.err.find("Usage: orvane-cli"), std::string::npos) << args;
        EXPECT_EQ(r.out, "") << args;
    }
    CliResult help = runCli(dir.path(), "--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--max-prim-faces"), std::string::npos);
}

TEST(Cli, UnreadableFileExitsOne) {
    TempDir dir;
    writeBytes(dir / "bad.s", "not a shape");
    CliResult r = runCli(dir.path(), quoted(dir / "bad.s"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Invalid File Format\nThe file must be a shape in UTF-16 or 8-bit text, compressed or binary\n" +
                         pathText(dir / "bad.s") + ": not a shape: it starts with \"not a shape\"\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "bad.sfixed"));
}

TEST(Cli, LimitsOutsideTheirRangesAreUsageErrorsThatSayWhatIsAllowed) {
    TempDir dir;
    writeShape(dir / "m.s", smallShape());
    const std::pair<const char*, const char*> cases[] = {
        {"--min-edge-mm 2,5", "option --min-edge-mm takes a number of millimetres with \".\" as decimal point, "
                              "from 0 to 1000000, not \"2,5\""},
        {"--min-edge-mm -1", "from 0 to 1000000, not \"-1\""},
        {"--min-edge-mm 1000001", "from 0 to 1000000, not \"1000001\""},
        {"--max-prim-faces 0", "option --max-prim-faces takes a whole number from 1 to 2147483647, not \"0\""},
        {"--max-object-polys -1", "option --max-object-polys takes a whole number from 1 to 2147483647, not \"-1\""},
        {"--max-object-polys 2147483648", "from 1 to 2147483647, not \"2147483648\""},
    };
    for (const auto& [args, message] : cases) {
        CliResult r = runCli(dir.path(), std::string(args) + " " + quoted(dir / "m.s"));
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    }
    for (const char* args : {"--min-edge-mm 0", "--min-edge-mm 1000000", "--min-edge-mm 2.5",
                             "--max-prim-faces 2147483647 --max-object-polys 1"}) {
        CliResult r = runCli(dir.path(), std::string(args) + " " + quoted(dir / "m.s"));
        EXPECT_EQ(r.status, 0) << args << r.err;
    }
}

TEST(Cli, CutOffTextShapesAreRefusedInBothTextForms) {
    TempDir dir;
    const std::string body = smallShape(animationBlock(12, 30));
    const std::string cut = body.substr(0, body.find("vertex_idxs") + 5);
    // The line of the innermost block's "(": the header is line 1.
    const std::size_t open = cut.rfind('(');
    const auto line = 2 + std::count(cut.begin(), cut.begin() + static_cast<std::ptrdiff_t>(open), '\n');
    const std::string reason = "Unreadable shape\nThe file ends inside block indexed_trilist opened at line " +
                               std::to_string(line) + ": it may be cut off\n";
    writeShape(dir / "cut.s", cut);
    writeBytes(dir / "cut8.s", std::string(kHeader) + "\r\n" + cut);
    for (const char* name : {"cut.s", "cut8.s"}) {
        CliResult r = runCli(dir.path(), quoted(dir / name));
        EXPECT_EQ(r.status, 1) << name;
        EXPECT_EQ(r.out, "") << name;
        EXPECT_EQ(r.err, reason) << name;
        EXPECT_FALSE(std::filesystem::exists(dir / (std::string(name) + "fixed"))) << name;
    }
}

TEST(Cli, MissingFileSaysItCouldNotBeOpenedAndExitsOne) {
    TempDir dir;
    CliResult r = runCli(dir.path(), quoted(dir / "gone.s"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "The file could not be opened\n" + pathText(dir / "gone.s") + ": " +
                         systemReason(std::make_error_code(std::errc::no_such_file_or_directory)) + "\n");
}

TEST(Cli, ReportGoesToStdoutAndTheRepairBesideTheInput) {
    TempDir dir;
    writeShape(dir / "m.s", smallShape(animationBlock(12, 30)));
    CliResult r = runCli(dir.path(), quoted(dir / "m.s"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("No of LOD's\t1\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Animation FPS corrected from 30 to 45\n"), std::string::npos) << r.out;
    EXPECT_TRUE(r.out.size() >= 9 && r.out.substr(r.out.size() - 9) == "Finished\n");
    EXPECT_TRUE(std::filesystem::exists(dir / "m.sfixed"));
    EXPECT_EQ(r.err, "");
}

TEST(Cli, SwitchesAndLimitsReachTheRun) {
    TempDir dir;
    writeShape(dir / "m.s", smallShape(animationBlock(12, 30)));
    CliResult reportOnly = runCli(dir.path(), "--report-only " + quoted(dir / "m.s"));
    EXPECT_EQ(reportOnly.status, 0);
    EXPECT_FALSE(std::filesystem::exists(dir / "m.sfixed"));
    CliResult noAnims = runCli(dir.path(), "--no-check-animations -- " + quoted(dir / "m.s"));
    EXPECT_EQ(noAnims.status, 0);
    EXPECT_EQ(noAnims.out.find("Animation FPS"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir / "m.sfixed"));
    CliResult small = runCli(dir.path(), "--report-only --max-prim-faces=1 " + quoted(dir / "m.s"));
    EXPECT_NE(small.out.find("<<<< Oversized primitive"), std::string::npos) << small.out;
    CliResult edges = runCli(dir.path(), "--report-only --min-edge-mm 2000 " + quoted(dir / "m.s"));
    EXPECT_NE(edges.out.find("\t\tPoly2\t"), std::string::npos) << edges.out;
}

TEST(Cli, StoppedRunKeepsItsLinesAndExitsThree) {
    TempDir dir;
    writeShape(dir / "m.s", smallShape(animationBlock(12, 30), "\todd ( a ( 1 ) ( 2 ) )\r\n"));
    CliResult r = runCli(dir.path(), quoted(dir / "m.s"));
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.out.find("No of LOD's"), std::string::npos);
    EXPECT_NE(r.err.find("odd"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "m.sfixed"));
}

TEST(Cli, FailedWriteExitsFour) {
    TempDir dir;
    writeShape(dir / "m.s", smallShape(animationBlock(12, 30)));
    std::filesystem::create_directory(dir / "m.sfixed");
    CliResult r = runCli(dir.path(), quoted(dir / "m.s"));
    EXPECT_EQ(r.status, 4);
    EXPECT_NE(r.err.find("m.sfixed"), std::string::npos) << r.err;
}

TEST(Cli, NonAsciiFolderAndFileNames) {
    TempDir dir;
    const std::filesystem::path folder = dir.path() / pathFromText("Ünïcödé");
    std::filesystem::create_directory(folder);
    const std::filesystem::path shape = folder / pathFromText("модель.s");
    const std::filesystem::path output = folder / pathFromText("модель.sfixed");
    writeShape(shape, smallShape(animationBlock(12, 30)));
    std::filesystem::create_directory(output);
    CliResult failed = runCli(dir.path(), quoted(shape));
    EXPECT_EQ(failed.status, 4);
    EXPECT_NE(failed.err.find("Cannot write " + pathText(output) + ": "), std::string::npos) << failed.err;
    std::filesystem::remove(output);
    CliResult r = runCli(dir.path(), quoted(shape));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Animation FPS corrected from 30 to 45\n"), std::string::npos) << r.out;
    EXPECT_TRUE(std::filesystem::is_regular_file(output));
}

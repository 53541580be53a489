// Runs the built orvane-cli as a whole process.

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <cstdlib>

#include "document/path_text.h"
#include "document/utf16.h"
#include "generator/sample_shapes.h"
#include "support/shape_files.h"

using namespace orvane;
using namespace orvane::test;

namespace {

struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

// One argument as the shell (sh, or cmd.exe on Windows) passes it on.
std::string quoted(const std::filesystem::path& path) {
    const std::string s = pathText(path);
#ifdef _WIN32
    return "\"" + s + "\"";
#else
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
#endif
}

// Runs the command line through the shell; the program's exit status.
int runShell(const std::string& command) {
#ifdef _WIN32
    // cmd.exe /c drops the outermost quotes of the line; UTF-16 keeps every name.
    const std::u16string wide = toUtf16("\"" + command + " <NUL\"");
    return _wsystem(reinterpret_cast<const wchar_t*>(wide.c_str()));
#else
    const int raw = std::system((command + " </dev/null").c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
}

CliResult runCli(const TempDir& dir, const std::string& arguments) {
    const std::filesystem::path cli = std::filesystem::absolute(ORVANE_CLI_PATH).make_preferred();
    CliResult result;
    result.status = runShell(quoted(cli) + " " + arguments + " >" + quoted(dir / "stdout.txt") + " 2>" +
                             quoted(dir / "stderr.txt"));
    result.out = readBytes(dir / "stdout.txt");
    result.err = readBytes(dir / "stderr.txt");
    std::filesystem::remove(dir / "stdout.txt");
    std::filesystem::remove(dir / "stderr.txt");
    return result;
}

}  // namespace

TEST(Cli, UsageErrorsExitTwo) {
    TempDir dir;
    for (const char* args : {"", "--max-prim-faces", "--max-prim-faces 12.5 x.s", "--max-prim-faces abc x.s",
                             "--max-object-polys 99999999999 x.s", "--min-edge-mm wide x.s", "--bogus x.s",
                             "a.s b.s", "--report-only=yes x.s"}) {
        CliResult r = runCli(dir, args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_NE(r.err.find("Usage: orvane-cli"), std::string::npos) << args;
        EXPECT_EQ(r.out, "") << args;
    }
    CliResult help = runCli(dir, "--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--max-prim-faces"), std::string::npos);
}

TEST(Cli, UnreadableFileExitsOne) {
    TempDir dir;
    writeBytes(dir / "bad.s", "not a shape");
    CliResult r = runCli(dir, quoted(dir / "bad.s"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Invalid File Format\nThe file must be uncompressed unicode text\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "bad.sfixed"));
}

TEST(Cli, ReportGoesToStdoutAndTheRepairBesideTheInput) {
    TempDir dir;
    writeShape(dir / "m.s", smallShape(animationBlock(12, 30)));
    CliResult r = runCli(dir, quoted(dir / "m.s"));
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
    CliResult reportOnly = runCli(dir, "--report-only " + quoted(dir / "m.s"));
    EXPECT_EQ(reportOnly.status, 0);
    EXPECT_FALSE(std::filesystem::exists(dir / "m.sfixed"));
    CliResult noAnims = runCli(dir, "--no-check-animations -- " + quoted(dir / "m.s"));
    EXPECT_EQ(noAnims.status, 0);
    EXPECT_EQ(noAnims.out.find("Animation FPS"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir / "m.sfixed"));
    CliResult small = runCli(dir, "--report-only --max-prim-faces=1 " + quoted(dir / "m.s"));
    EXPECT_NE(small.out.find("<<<< Oversized primitive"), std::string::npos) << small.out;
    CliResult edges = runCli(dir, "--report-only --min-edge-mm 2000 " + quoted(dir / "m.s"));
    EXPECT_NE(edges.out.find("\t\tPoly2\t"), std::string::npos) << edges.out;
}

TEST(Cli, StoppedRunKeepsItsLinesAndExitsThree) {
    TempDir dir;
    writeShape(dir / "m.s", smallShape(animationBlock(12, 30), "\todd ( a ( 1 ) ( 2 ) )\r\n"));
    CliResult r = runCli(dir, quoted(dir / "m.s"));
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.out.find("No of LOD's"), std::string::npos);
    EXPECT_NE(r.err.find("odd"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "m.sfixed"));
}

TEST(Cli, FailedWriteExitsFour) {
    TempDir dir;
    writeShape(dir / "m.s", smallShape(animationBlock(12, 30)));
    std::filesystem::create_directory(dir / "m.sfixed");
    CliResult r = runCli(dir, quoted(dir / "m.s"));
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
    CliResult failed = runCli(dir, quoted(shape));
    EXPECT_EQ(failed.status, 4);
    EXPECT_NE(failed.err.find("Cannot write " + pathText(output) + ": "), std::string::npos) << failed.err;
    std::filesystem::remove(output);
    CliResult r = runCli(dir, quoted(shape));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Animation FPS corrected from 30 to 45\n"), std::string::npos) << r.out;
    EXPECT_TRUE(std::filesystem::is_regular_file(output));
}

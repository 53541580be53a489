// orvane-cli in batch mode, run as a whole process (through a POSIX shell).

#ifndef _WIN32

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <thread>
#include <nlohmann/json.hpp>

#include "batch/batch_route.h"
#include "fixes/run_state.h"
#include "generator/shape_generator.h"
#include "support/shape_files.h"

using namespace orvane;
using namespace orvane::test;
using orvane::test::GeneratedAnimation;

namespace {

std::string quoted(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// Runs orvane-cli with the arguments; its standard output goes to `out`.
int runCli(const std::string& arguments, const std::filesystem::path& out) {
    const std::string command =
        quoted(ORVANE_CLI_PATH) + " " + arguments + " >" + quoted(out.string()) + " 2>/dev/null </dev/null";
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

}  // namespace

TEST(BatchCli, ExitStatusIsTheHighestOfTheShapes) {
    TempDir dir;
    writeMixedRoute(dir / "route");
    EXPECT_EQ(runCli("--report-only " + quoted((dir / "route").string()), dir / "out.txt"), 3);
    EXPECT_EQ(runCli(quoted((dir / "route").string()), dir / "out.txt"), 4);
    EXPECT_EQ(runCli(quoted((dir / "route/ok.s").string()) + " " + quoted((dir / "route/compressed.s").string()),
                     dir / "out.txt"),
              1);
    EXPECT_EQ(runCli(quoted((dir / "route").string()) + " " + quoted((dir / "nowhere").string()), dir / "out.txt"), 2);
    std::filesystem::create_directory(dir / "empty");
    EXPECT_EQ(runCli(quoted((dir / "empty").string()), dir / "out.txt"), 0);
    EXPECT_NE(readBytes(dir / "out.txt").find("no shapes found"), std::string::npos);
}

TEST(BatchCli, ReportsEqualSingleRuns) {
    TempDir dir;
    writeMixedRoute(dir / "route");
    std::filesystem::remove(dir / "route/blocked.sfixed");
    std::filesystem::create_directory(dir / "route/sub");
    std::filesystem::rename(dir / "route/retimed.s", dir / "route/sub/retimed.s");
    ASSERT_EQ(runCli("--report-only --jobs 2 --format csv --reports " + quoted((dir / "reports").string()) + " --summary " +
                         quoted((dir / "summary.csv").string()) + " " + quoted((dir / "route").string()),
                     dir / "out.txt"),
              3);
    EXPECT_EQ(readBytes(dir / "out.txt"), "");  // the summary went to its file
    EXPECT_TRUE(readBytes(dir / "summary.csv").starts_with("path,outcome,problem,"));
    for (const char* shape : {"ok.s", "sub/retimed.s", "compressed.s", "stopped.s", "blocked.s"}) {
        SCOPED_TRACE(shape);
        runCli("--report-only " + quoted((dir / "route" / shape).string()), dir / "single.txt");
        EXPECT_EQ(readBytes(dir / "reports" / (std::string(shape) + ".txt")), readBytes(dir / "single.txt"));
    }
}

// Every real shape of the corpus gets a row whose figures agree with its
// report lines.
TEST(BatchCli, CorpusFiguresAgreeWithReports) {
    const std::filesystem::path corpus = ORVANE_CORPUS_DIR;
    if (!std::filesystem::is_directory(corpus)) GTEST_SKIP() << "no corpus at " << corpus;
    TempDir dir;
    runCli("--report-only --format json --reports " + quoted((dir / "reports").string()) + " " +
               quoted(corpus.string()),
           dir / "summary.json");
    const auto json = nlohmann::json::parse(readBytes(dir / "summary.json"));
    std::size_t shapes = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(corpus))
        shapes += entry.path().extension() == ".s" ? 1 : 0;
    ASSERT_EQ(json["shapes"].size(), shapes);
    for (const auto& row : json["shapes"]) {
        const std::string path = row["path"];
        SCOPED_TRACE(path);
        if (row["outcome"] == "unreadable") continue;
        const RunFigures told = figuresFromReport(readBytes(dir / "reports" / (path + ".txt")));
        EXPECT_EQ(row["lods"], told.lods);
        EXPECT_EQ(row["sub_objects"], told.subObjects);
        EXPECT_EQ(row["primitives"], told.primitives);
        EXPECT_EQ(row["triangles"], told.triangles);
        EXPECT_EQ(row["largest_primitive_faces"], told.largestPrimitiveFaces);
        EXPECT_EQ(row["largest_sub_object_polygons"], told.largestSubObjectPolygons);
        EXPECT_EQ(row["oversize_primitives"], told.oversizePrimitives);
        EXPECT_EQ(row["oversize_sub_objects"], told.oversizeSubObjects);
        EXPECT_EQ(row["short_edges"], told.shortEdges);
    }
}

TEST(BatchCli, CtrlCPrintsWhatFinishedAndExits130) {
    TempDir dir;
    ShapeParameters params;
    params.triangles = 20000;
    params.animation = GeneratedAnimation::Frames;
    params.animationFrames = 15;
    for (int i = 0; i < 12; ++i) writeGeneratedShape(dir / ("s" + std::to_string(i) + ".s"), params);

    const std::string cli = ORVANE_CLI_PATH, folder = dir.path().string(), out = (dir / "out.txt").string();
    std::vector<char*> argv = {const_cast<char*>(cli.c_str()), const_cast<char*>("--jobs"), const_cast<char*>("1"),
                               const_cast<char*>(folder.c_str()), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = -1;
    ASSERT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), nullptr), 0);
    posix_spawn_file_actions_destroy(&actions);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ::kill(pid, SIGINT);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 130);
    EXPECT_NE(readBytes(dir / "out.txt").find("interrupted"), std::string::npos);
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        EXPECT_FALSE(entry.path().filename().string().ends_with(".tmp"));
}

#endif  // _WIN32

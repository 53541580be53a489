// orvane-cli in batch mode, run as a whole process.

#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#endif

#include <chrono>
#include <thread>
#include <nlohmann/json.hpp>

#include "batch/batch_route.h"
#include "fixes/run_state.h"
#include "support/cli_process.h"
#include "support/shape_files.h"

using namespace orvane;
using namespace orvane::test;

namespace {

// Runs orvane-cli with the arguments; its standard output goes to `out`.
int runCli(const std::string& arguments, const std::filesystem::path& out) {
    const CliResult result = orvane::test::runCli(out.parent_path(), arguments);
    writeBytes(out, result.out);
    return result.status;
}

}  // namespace

TEST(BatchCli, ExitStatusIsTheHighestOfTheShapes) {
    TempDir dir;
    writeMixedRoute(dir / "route");
    EXPECT_EQ(runCli("--report-only " + quoted(dir / "route"), dir / "out.txt"), 3);
    EXPECT_EQ(runCli(quoted(dir / "route"), dir / "out.txt"), 4);
    EXPECT_EQ(runCli(quoted(dir / "route/ok.s") + " " + quoted(dir / "route/compressed.s"),
                     dir / "out.txt"),
              1);
    EXPECT_EQ(runCli(quoted(dir / "route") + " " + quoted(dir / "nowhere"), dir / "out.txt"), 2);
    std::filesystem::create_directory(dir / "empty");
    EXPECT_EQ(runCli(quoted(dir / "empty"), dir / "out.txt"), 0);
    EXPECT_NE(readBytes(dir / "out.txt").find("no shapes found"), std::string::npos);
}

TEST(BatchCli, ReportsEqualSingleRuns) {
    TempDir dir;
    writeMixedRoute(dir / "route");
    std::filesystem::remove(dir / "route/blocked.sfixed");
    std::filesystem::create_directory(dir / "route/sub");
    std::filesystem::rename(dir / "route/retimed.s", dir / "route/sub/retimed.s");
    ASSERT_EQ(runCli("--report-only --jobs 2 --format csv --reports " + quoted(dir / "reports") + " --summary " +
                         quoted(dir / "summary.csv") + " " + quoted(dir / "route"),
                     dir / "out.txt"),
              3);
    EXPECT_EQ(readBytes(dir / "out.txt"), "");  // the summary went to its file
    EXPECT_TRUE(readBytes(dir / "summary.csv").starts_with("path,outcome,form,problem,"));
    for (const char* shape : {"ok.s", "sub/retimed.s", "compressed.s", "stopped.s", "blocked.s"}) {
        SCOPED_TRACE(shape);
        // The report files list the findings after the report, as --findings does.
        runCli("--report-only --findings " + quoted(dir / "route" / shape), dir / "single.txt");
        EXPECT_EQ(readBytes(dir / "reports" / (std::string(shape) + ".txt")), readBytes(dir / "single.txt"));
    }
}

// Every real shape of the corpus gets a row whose figures agree with its
// report lines.
TEST(BatchCli, CorpusFiguresAgreeWithReports) {
    const std::filesystem::path corpus = ORVANE_CORPUS_DIR;
    if (!std::filesystem::is_directory(corpus)) GTEST_SKIP() << "no corpus at " << corpus;
    TempDir dir;
    runCli("--report-only --format json --reports " + quoted(dir / "reports") + " " +
               quoted(corpus),
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

#ifndef _WIN32
// Ctrl-C as a POSIX signal; the console control handler is not reachable
// from a test under Wine.
TEST(BatchCli, CtrlCPrintsWhatFinishedAndExits130) {
    TempDir dir;
    // Enough work that Ctrl-C comes long before the end on any machine.
    writeShapeNames(dir.path(), 100, true);

    // One job runs in this process, two in worker processes; the signal
    // reaches only the batch's own process, as from `kill`.
    for (const char* jobs : {"1", "2"}) {
        SCOPED_TRACE(jobs);
        const std::string cli = ORVANE_CLI_PATH, folder = dir.path().string(), out = (dir / "out.txt").string();
        std::vector<char*> argv = {const_cast<char*>(cli.c_str()), const_cast<char*>("--jobs"), const_cast<char*>(jobs),
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
}

#endif  // _WIN32

// Both programs as whole processes: --version and --help, their man pages,
// and `orvane FILE` running FILE at once.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <QRegularExpression>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <tuple>

#include "generator/sample_shapes.h"
#include "orvane_version.h"
#include "run/fix_run.h"
#include "support/shape_files.h"

namespace orvane::test {
namespace {

// Standard output of a command line, and its exit status.
std::pair<std::string, int> run(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return {out, -1};
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    const int raw = pclose(pipe);
    return {out, WIFEXITED(raw) ? WEXITSTATUS(raw) : -1};
}

struct Program {
    const char* name;
    const char* path;
};
const Program kPrograms[] = {{"orvane", ORVANE_APP_PATH}, {"orvane-cli", ORVANE_CLI_PATH}};

TEST(Programs, VersionIsTheProjectVersion) {
    for (const Program& program : kPrograms) {
        // The window program answers without any display.
        const auto [out, status] = run("env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= '" +
                                       std::string(program.path) + "' --version");
        EXPECT_EQ(status, 0) << program.name;
        EXPECT_EQ(out, std::string(program.name) + " " + ORVANE_VERSION + "\n");
    }
}

TEST(Programs, WindowWithoutADisplayAnswersAUsageErrorAndSaysItNeedsOne) {
    const std::string noDisplay =
        "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= '" + std::string(ORVANE_APP_PATH) + "'";
    auto [out, status] = run(noDisplay + " --bogus 2>&1");
    EXPECT_EQ(status, 2);
    EXPECT_NE(out.find("unknown option --bogus\nUsage: orvane"), std::string::npos) << out;
    std::tie(out, status) = run(noDisplay + " m.s 2>&1");
    EXPECT_EQ(status, 1);
    EXPECT_NE(out.find("needs a display"), std::string::npos) << out;
    EXPECT_NE(out.find("orvane-cli"), std::string::npos) << out;
}

TEST(Programs, ManPagesNameEveryOptionOfHelp) {
    for (const Program& program : kPrograms) {
        SCOPED_TRACE(program.name);
        const auto [help, status] = run("'" + std::string(program.path) + "' --help");
        ASSERT_EQ(status, 0);
        const QString page = QString::fromStdString(
                                 readBytes(std::filesystem::path(ORVANE_DIST_DIR) / (std::string(program.name) + ".1")))
                                 .replace("\\-", "-");
        int options = 0;
        for (const auto& match : QRegularExpression("--[a-z][a-z-]*").globalMatch(QString::fromStdString(help))) {
            ++options;
            EXPECT_TRUE(page.contains(match.captured())) << match.captured().toStdString();
        }
        EXPECT_GE(options, 2);
    }
}

TEST(Programs, WindowRunsTheFileOfItsCommandLine) {
    TempDir dir;
    writeShape(dir / "m.s", smallShape(animationBlock(12, 30)));  // retimed, so written
    const std::string command = "QT_QPA_PLATFORM=offscreen ORVANE_GRAB_WINDOW='" + (dir / "w.png").string() + "' '" +
                                ORVANE_APP_PATH + "' '" + (dir / "m.s").string() + "'";
    EXPECT_EQ(run(command).second, 0);
    EXPECT_TRUE(std::filesystem::exists(outputPathFor(dir / "m.s")));
}

}  // namespace
}  // namespace orvane::test

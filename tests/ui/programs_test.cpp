// Both programs as whole processes: --version and --help, their man pages,
// and `orvane FILE` running FILE at once.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QRegularExpression>
#include <QString>
#include <string>

#include "generator/sample_shapes.h"
#include "orvane_version.h"
#include "run/fix_run.h"
#include "support/cli_process.h"
#include "support/shape_files.h"

namespace orvane::test {
namespace {

// An environment variable set (or unset, for a null value) while it lives;
// the programs started meanwhile inherit it.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
        if (value)
            qputenv(name, value);
        else
            qunsetenv(name);
    }
    ~ScopedVariable() {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

struct Program {
    const char* name;
    const char* path;
};
const Program kPrograms[] = {{"orvane", ORVANE_APP_PATH}, {"orvane-cli", ORVANE_CLI_PATH}};

TEST(Programs, VersionIsTheProjectVersion) {
    // The window program answers without any display.
    const ScopedVariable display("DISPLAY", nullptr), wayland("WAYLAND_DISPLAY", nullptr),
        platform("QT_QPA_PLATFORM", nullptr);
    TempDir dir;
    for (const Program& program : kPrograms) {
        const CliResult result = runProgram(program.path, dir.path(), "--version");
        EXPECT_EQ(result.status, 0) << program.name;
        EXPECT_EQ(result.out, std::string(program.name) + " " + ORVANE_VERSION + "\n");
    }
}

TEST(Programs, WindowWithoutADisplayAnswersAUsageErrorAndSaysItNeedsOne) {
    const ScopedVariable display("DISPLAY", nullptr), wayland("WAYLAND_DISPLAY", nullptr),
        platform("QT_QPA_PLATFORM", nullptr);
    TempDir dir;
    const CliResult usage = runProgram(ORVANE_APP_PATH, dir.path(), "--bogus");
    EXPECT_EQ(usage.status, 2);
    EXPECT_NE(usage.err.find("unknown option --bogus\nUsage: orvane"), std::string::npos) << usage.err;
#ifndef _WIN32
    // Windows always has a display; elsewhere none may be set.
    const CliResult shape = runProgram(ORVANE_APP_PATH, dir.path(), "m.s");
    EXPECT_EQ(shape.status, 1);
    EXPECT_NE(shape.err.find("needs a display"), std::string::npos) << shape.err;
    EXPECT_NE(shape.err.find("orvane-cli"), std::string::npos) << shape.err;

    // A display that is set but answers nobody gets the same words, not Qt's abort.
    const ScopedVariable unreachable("DISPLAY", ":87");
    const CliResult unanswered = runProgram(ORVANE_APP_PATH, dir.path(), "m.s");
    EXPECT_EQ(unanswered.status, 1);
    EXPECT_NE(unanswered.err.find("DISPLAY=:87 cannot be reached"), std::string::npos) << unanswered.err;
    EXPECT_NE(unanswered.err.find("orvane-cli"), std::string::npos) << unanswered.err;
#endif
}

TEST(Programs, ManPagesNameEveryOptionOfHelp) {
    TempDir dir;
    for (const Program& program : kPrograms) {
        SCOPED_TRACE(program.name);
        const CliResult help = runProgram(program.path, dir.path(), "--help");
        ASSERT_EQ(help.status, 0);
        const QString page = QString::fromStdString(
                                 readBytes(std::filesystem::path(ORVANE_DIST_DIR) / (std::string(program.name) + ".1")))
                                 .replace("\\-", "-");
        int options = 0;
        for (const auto& match : QRegularExpression("--[a-z][a-z-]*").globalMatch(QString::fromStdString(help.out))) {
            ++options;
            EXPECT_TRUE(page.contains(match.captured())) << match.captured().toStdString();
        }
        EXPECT_GE(options, 2);
    }
}

TEST(Programs, WindowRunsTheFileOfItsCommandLine) {
    TempDir dir;
    writeShape(dir / "m.s", smallShape(animationBlock(12, 30)));  // retimed, so written
    const ScopedVariable platform("QT_QPA_PLATFORM", "offscreen");
    const ScopedVariable grab("ORVANE_GRAB_WINDOW", (dir / "w.png").string().c_str());
    EXPECT_EQ(runProgram(ORVANE_APP_PATH, dir.path(), quoted(dir / "m.s")).status, 0);
    EXPECT_TRUE(std::filesystem::exists(outputPathFor(dir / "m.s")));
}

}  // namespace
}  // namespace orvane::test

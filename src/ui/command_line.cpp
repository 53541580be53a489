#include "ui/command_line.h"

namespace orvane::ui {

const char* const kAppUsage =
    "Usage: orvane [OPTIONS] [FILE]\n"
    "Opens the Orvane window, which checks and repairs an MSTS shape file (UTF-16 or 8-bit\n"
    "text, compressed or binary). With FILE the window opens and runs FILE at once, as if it\n"
    "had been chosen with \"Select Model\".\n"
    "\n"
    "Options:\n"
    "  --help       show this text\n"
    "  --version    show the version\n";

AppArguments parseAppArguments(const QStringList& args) {
    AppArguments result;
    auto fail = [&result](const QString& error) {
        if (result.error.isEmpty()) result.error = error;
    };
    bool filesOnly = false;
    for (const QString& arg : args) {
        if (!filesOnly && arg == QLatin1String("--")) {
            filesOnly = true;
        } else if (!filesOnly && arg == QLatin1String("--help")) {
            result.help = true;
        } else if (!filesOnly && arg == QLatin1String("--version")) {
            result.version = true;
        } else if (!filesOnly && arg.startsWith(u'-') && arg.size() > 1) {
            fail("unknown option " + arg);
        } else if (!result.file.isEmpty()) {
            fail(QStringLiteral("only one FILE may be given"));
        } else {
            result.file = arg;
        }
    }
    return result;
}

}  // namespace orvane::ui

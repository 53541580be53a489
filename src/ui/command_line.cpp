#include "ui/command_line.h"

#include <QtGlobal>

#ifdef ORVANE_PROBE_X11
#include <xcb/xcb.h>
#endif

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

namespace {

// Qt's own options, which Qt takes out of the command line once the window
// system starts (with one dash or two); those of the first list take a value,
// as the next argument or after "=".
const char* const kQtValueOptions[] = {"platform", "platformpluginpath", "platformtheme", "plugin", "display",
                                       "qwindowgeometry", "geometry", "qwindowtitle", "title", "qwindowicon",
                                       "icon", "session", "style", "stylesheet", "qmljsdebugger"};
const char* const kQtFlags[] = {"reverse", "widgetcount", "testability", "nograb", "dograb", "sync"};

// How many arguments from args[i] on are a Qt option: 0 when it is none.
qsizetype qtOptionLength(const QStringList& args, qsizetype i) {
    QString name = args[i];
    if (!name.startsWith(u'-') || name == QLatin1String("--")) return 0;
    name.remove(0, name.startsWith(QLatin1String("--")) ? 2 : 1);
    const qsizetype equals = name.indexOf(u'=');
    for (const char* option : kQtValueOptions) {
        if (equals >= 0 && QStringView(name).left(equals) == QLatin1String(option)) return 1;
        if (equals < 0 && name == QLatin1String(option)) return i + 1 < args.size() ? 2 : 1;
    }
    for (const char* flag : kQtFlags)
        if (name == QLatin1String(flag)) return 1;
    return 0;
}

}  // namespace

AppArguments parseAppArguments(const QStringList& args) {
    AppArguments result;
    auto fail = [&result](const QString& error) {
        if (result.error.isEmpty()) result.error = error;
    };
    bool filesOnly = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (const qsizetype qtOption = filesOnly ? 0 : qtOptionLength(args, i)) {
            i += qtOption - 1;
        } else if (!filesOnly && arg == QLatin1String("--")) {
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

namespace {

const char* const kWithoutDisplay =
    "Without a display use orvane-cli, which runs the same checks and repairs: orvane-cli --help\n";

#ifdef ORVANE_PROBE_X11
// Whether the X display that DISPLAY names takes a connection (its
// authorisation included).
bool x11DisplayAnswers() {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const bool answers = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return answers;
}
#endif

}  // namespace

QString missingDisplayMessage() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // Qt ends the program with an abort when it finds no display; the
    // platform may also be chosen (offscreen, vnc, ...).
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) return {};
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return QStringLiteral("the window needs a display, and none is set (DISPLAY or WAYLAND_DISPLAY).\n") +
               QLatin1String(kWithoutDisplay);
#ifdef ORVANE_PROBE_X11
    if (!x11DisplayAnswers())
        return QStringLiteral("the window needs a display, and the display DISPLAY=") +
               qEnvironmentVariable("DISPLAY") + QStringLiteral(" cannot be reached.\n") +
               QLatin1String(kWithoutDisplay);
#endif
#endif
    return {};
}

}  // namespace orvane::ui

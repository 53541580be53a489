#pragma once
// The window program's command line: orvane [--help] [--version] [FILE].

#include <QString>
#include <QStringList>

namespace orvane::ui {

struct AppArguments {
    bool help = false;
    bool version = false;
    QString file;   // empty when none was given
    QString error;  // the first usage error, empty when none
};

// The usage text of --help.
extern const char* const kAppUsage;

// Reads the arguments after the program name. Every argument is looked at,
// so --help and --version are seen even after an error. Qt's own options
// (-platform NAME, -style=NAME, ...) are passed over, so the arguments can be
// read before the window system starts.
AppArguments parseAppArguments(const QStringList& args);

// Why the window cannot open here (no display to show it on), or empty.
QString missingDisplayMessage();

}  // namespace orvane::ui

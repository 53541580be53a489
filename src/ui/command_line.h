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
// so --help and --version are seen even after an error.
AppArguments parseAppArguments(const QStringList& args);

}  // namespace orvane::ui

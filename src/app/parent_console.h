#pragma once
// Windows starts a window program without a console; --help, --version and
// command-line errors should still show in the console it was started from.

namespace orvane::app {

// On Windows, when standard output or standard error leads nowhere, attaches
// to the parent process's console, if any, and writes them there. Output
// sent to a file or pipe stays where it was sent. Does nothing elsewhere.
void useParentConsole();

}  // namespace orvane::app

#pragma once
// Windows starts a window program without a console; --help, --version and
// command-line errors should still show in the console it was started from.

namespace orvane::app {

// On Windows, when standard output or standard error leads nowhere, attaches
// to the parent process's console, if any, and writes them there; output
// sent to a file or pipe stays where it was sent. Both write their bytes
// unchanged (LF line ends). Does nothing elsewhere.
void useParentConsole();

}  // namespace orvane::app

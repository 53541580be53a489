#include "cli/interrupt.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#endif

namespace orvane::cli {

namespace {

std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free);

#ifdef _WIN32
BOOL WINAPI onConsoleControl(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
    interrupted.store(true);
    return TRUE;
}
#else
void onInterrupt(int) { interrupted.store(true); }
#endif

}  // namespace

const std::atomic<bool>& catchInterrupt() {
#ifdef _WIN32
    SetConsoleCtrlHandler(onConsoleControl, TRUE);
#else
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    // A second Ctrl-C ends the process at once.
    action.sa_flags = SA_RESETHAND;
    sigaction(SIGINT, &action, nullptr);
#endif
    return interrupted;
}

}  // namespace orvane::cli

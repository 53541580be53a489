#include "parent_console.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <initializer_list>
#endif

namespace orvane::app {

#ifdef _WIN32

namespace {

bool leadsNowhere(DWORD stream) {
    const HANDLE handle = GetStdHandle(stream);
    return handle == nullptr || handle == INVALID_HANDLE_VALUE || GetFileType(handle) == FILE_TYPE_UNKNOWN;
}

}  // namespace

void useParentConsole() {
    const bool out = leadsNowhere(STD_OUTPUT_HANDLE);
    const bool err = leadsNowhere(STD_ERROR_HANDLE);
    if ((out || err) && AttachConsole(ATTACH_PARENT_PROCESS)) {
        if (out) std::freopen("CONOUT$", "w", stdout);
        if (err) std::freopen("CONOUT$", "w", stderr);
    }
    // Line ends as written, as on Linux and as orvane-cli writes them.
    for (std::FILE* stream : {stdout, stderr})
        if (const int fd = _fileno(stream); fd >= 0) _setmode(fd, _O_BINARY);
}

#else

void useParentConsole() {}

#endif

}  // namespace orvane::app

#include "cli/console.h"

#include "document/utf16.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <shellapi.h>
#else
#include <unistd.h>
#endif

namespace orvane::cli {

#ifdef _WIN32

namespace {

HANDLE consoleOf(std::FILE* stream) {
    if (!_isatty(_fileno(stream))) return nullptr;
    HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) ? handle : nullptr;
}

}  // namespace

std::vector<std::string> commandLineArguments(int, char**) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 1; wide && i < count; ++i) {
        const std::wstring_view arg(wide[i]);
        args.push_back(toUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(arg.data()), arg.size())));
    }
    LocalFree(wide);
    return args;
}

void prepareStandardStreams() {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    if (HANDLE console = consoleOf(stderr)) {
        DWORD mode = 0;
        GetConsoleMode(console, &mode);
        SetConsoleMode(console, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
    }
}

// _isatty alone also holds for the NUL device.
bool isTerminal(std::FILE* stream) { return consoleOf(stream) != nullptr; }

void writeTo(std::FILE* stream, std::string_view text) {
    if (HANDLE console = consoleOf(stream)) {
        std::fflush(stream);
        const std::u16string units = toUtf16(text);
        DWORD written = 0;
        WriteConsoleW(console, units.data(), static_cast<DWORD>(units.size()), &written, nullptr);
        return;
    }
    std::fwrite(text.data(), 1, text.size(), stream);
}

#else

std::vector<std::string> commandLineArguments(int argc, char** argv) { return {argv + 1, argv + argc}; }

void prepareStandardStreams() {}

bool isTerminal(std::FILE* stream) { return ::isatty(::fileno(stream)) == 1; }

void writeTo(std::FILE* stream, std::string_view text) { std::fwrite(text.data(), 1, text.size(), stream); }

#endif

}  // namespace orvane::cli

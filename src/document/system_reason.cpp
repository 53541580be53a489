#include "document/system_reason.h"

#ifdef _WIN32
#include <cerrno>
#include <string_view>

#include "document/utf16.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace orvane {

#ifdef _WIN32

namespace {

// The Windows error for the C library's error numbers that the file calls
// of this program give (0 for any other).
DWORD windowsErrorFor(int number) {
    switch (number) {
        case ENOENT: return ERROR_FILE_NOT_FOUND;
        case EACCES: return ERROR_ACCESS_DENIED;
        case EISDIR: return 336;  // ERROR_DIRECTORY_NOT_SUPPORTED, missing from older headers
        case ENOSPC: return ERROR_DISK_FULL;
        case EEXIST: return ERROR_FILE_EXISTS;
        case EIO: return ERROR_IO_DEVICE;
        case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
        case EROFS: return ERROR_WRITE_PROTECT;
        case EMFILE: return ERROR_TOO_MANY_OPEN_FILES;
        case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
        default: return 0;
    }
}

}  // namespace

std::string windowsMessage(unsigned long code) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
        reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    if (length == 0 || text == nullptr) return {};
    std::u16string_view units(reinterpret_cast<const char16_t*>(text), length);
    // The system ends its messages with a line end.
    while (!units.empty() && (units.back() == u'\r' || units.back() == u'\n' || units.back() == u' '))
        units.remove_suffix(1);
    std::string message = toUtf8(units);
    LocalFree(text);
    return message;
}

std::string systemReason(const std::error_code& error) {
    DWORD code = 0;
    if (error.category() == std::system_category())
        code = static_cast<DWORD>(error.value());
    else if (error.category() == std::generic_category())
        code = windowsErrorFor(error.value());
    if (code != 0) {
        std::string message = windowsMessage(code);
        if (!message.empty()) return message;
    }
    return error.message();
}

#else

std::string systemReason(const std::error_code& error) { return error.message(); }

#endif

}  // namespace orvane

#include "document/system_files.h"

#include <stdexcept>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace orvane::detail {

#ifdef _WIN32
namespace {

constexpr const char* kTargetInUse = "the file is open in another program";

// Whether another program has the file open without letting it be replaced.
bool heldOpenElsewhere(const std::filesystem::path& path) {
    HANDLE file = CreateFileW(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        return false;
    }
    return GetLastError() == ERROR_SHARING_VIOLATION;
}

}  // namespace
#endif

std::FILE* openNewFile(const std::filesystem::path& path) {
#ifdef _WIN32
    // The C runtime's fopen may not know the exclusive mode "x".
    const int fd = _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd < 0) return nullptr;
    std::FILE* file = _fdopen(fd, "wb");
    if (!file) _close(fd);
    return file;
#else
    return std::fopen(path.c_str(), "wbx");
#endif
}

void replaceFile(const std::filesystem::path& temp, const std::filesystem::path& target) {
#ifdef _WIN32
    // Replaces the file and reaches the disk before returning.
    if (MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return;
    const DWORD error = GetLastError();
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) throw std::runtime_error(kTargetInUse);
    // Access is denied also to a target another program holds open.
    if (error == ERROR_ACCESS_DENIED && heldOpenElsewhere(target)) throw std::runtime_error(kTargetInUse);
    throw std::system_error(static_cast<int>(error), std::system_category());
#else
    std::error_code ec;
    std::filesystem::rename(temp, target, ec);
    if (ec) throw std::system_error(ec);
#endif
}

}  // namespace orvane::detail

#include "document/shape_writer_output.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cerrno>
#include <random>
#include <stdexcept>

#include "document/utf16.h"

#include "document/path_text.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace orvane::detail {

namespace {

[[noreturn]] void throwErrno(int fallback) {
    const int code = errno != 0 ? errno : fallback;
    throw std::system_error(code, std::generic_category());
}

ChunkWriteFailure& chunkWriteFailure() {
    static ChunkWriteFailure failure;
    return failure;
}

std::FILE* openNew(const std::filesystem::path& path) {
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

#ifdef _WIN32
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
#endif

// Puts the complete temporary file in the target's place, replacing an
// earlier file of that name.
void replaceTarget(const std::filesystem::path& temp, const std::filesystem::path& target) {
#ifdef _WIN32
    // Replaces the file and reaches the disk before returning.
    if (MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return;
    switch (GetLastError()) {
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            throw std::runtime_error(kTargetInUse);
        case ERROR_ACCESS_DENIED:
            // Also the answer for a target another program holds open.
            if (heldOpenElsewhere(target)) throw std::runtime_error(kTargetInUse);
            throw std::system_error(std::make_error_code(std::errc::permission_denied));
        case ERROR_PATH_NOT_FOUND:
        case ERROR_FILE_NOT_FOUND:
            throw std::system_error(std::make_error_code(std::errc::no_such_file_or_directory));
        default:
            throw std::system_error(std::make_error_code(std::errc::io_error));
    }
#else
    std::error_code ec;
    std::filesystem::rename(temp, target, ec);
    if (ec) throw std::system_error(ec);
#endif
}

}  // namespace

ReplacingFile::ReplacingFile(const std::filesystem::path& target) : target_(systemPath(target)) {
    std::error_code ec;
    if (std::filesystem::is_directory(target_, ec)) throw std::system_error(std::make_error_code(std::errc::is_a_directory));
#ifndef _WIN32
    // A target that exists but may not be written is not replaced either.
    if (std::filesystem::exists(target_, ec) && ::access(target_.c_str(), W_OK) != 0) throwErrno(EACCES);
#endif
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    const std::filesystem::path folder = target_.has_parent_path() ? target_.parent_path() : std::filesystem::path(".");
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string suffix = ".";
        suffix.append(std::to_string(random())).append("-").append(std::to_string(counter++)).append(".tmp");
        std::filesystem::path name = ".";
        name += target_.filename();
        name += suffix;
        temp_ = folder / name;
        errno = 0;
        file_ = openNew(temp_);
        if (file_) break;
        if (errno != EEXIST) {
            temp_.clear();
            throwErrno(EIO);
        }
    }
    if (!file_) {
        temp_.clear();
        throw std::system_error(std::make_error_code(std::errc::file_exists));
    }
    std::setvbuf(file_, nullptr, _IONBF, 0);  // the text output buffers
}

ReplacingFile::~ReplacingFile() { discard(); }

void ReplacingFile::discard() noexcept {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    if (!temp_.empty()) {
        std::error_code ec;
        std::filesystem::remove(temp_, ec);
        temp_.clear();
    }
}

void setChunkWriteFailureForTests(ChunkWriteFailure failure) { chunkWriteFailure() = std::move(failure); }

void ReplacingFile::write(const void* data, std::size_t bytes) {
    if (const ChunkWriteFailure& fails = chunkWriteFailure(); fails && fails(written_, bytes))
        throw std::system_error(std::make_error_code(std::errc::no_space_on_device));
    errno = 0;
    if (std::fwrite(data, 1, bytes, file_) != bytes) throwErrno(EIO);
    written_ += bytes;
}

void ReplacingFile::commit() {
    errno = 0;
    const bool flushed = std::fflush(file_) == 0;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!flushed || !closed) throwErrno(EIO);
    replaceTarget(temp_, target_);
    temp_.clear();
}

Utf16TextOutput::Utf16TextOutput(ReplacingFile& file)
    : file_(file), buf_(std::make_unique_for_overwrite<char16_t[]>(kCapacity)) {}

void Utf16TextOutput::putText(std::string_view utf8) {
    const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
    const std::size_t n = utf8.size();
    std::size_t i = 0;
    while (i < n) {
        if (used_ == kCapacity) flush();
        const std::size_t stop = std::min(n, i + (kCapacity - used_));
        char16_t* out = buf_.get() + used_;
        std::size_t k = i;
        while (k < stop && s[k] < 0x80) *out++ = s[k++];
        used_ += k - i;
        i = k;
        if (k < stop) {
            // Not ASCII from here on: convert the rest in one go.
            wide_.clear();
            appendUtf16(wide_, utf8.substr(i));
            for (char16_t unit : wide_) put(unit);
            return;
        }
    }
}

void Utf16TextOutput::putTabs(int count) {
    for (int i = 0; i < count; ++i) put(u'\t');
}

void Utf16TextOutput::flush() {
    if (used_ == 0) return;
    if constexpr (std::endian::native == std::endian::big) {
        for (std::size_t i = 0; i < used_; ++i) buf_[i] = static_cast<char16_t>((buf_[i] >> 8) | (buf_[i] << 8));
    }
    file_.write(buf_.get(), used_ * sizeof(char16_t));
    flushed_ += used_;
    used_ = 0;
}

}  // namespace orvane::detail

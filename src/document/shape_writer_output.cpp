#include "document/shape_writer_output.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <random>

#include "document/path_text.h"
#include "document/system_files.h"
#include "document/utf16.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace orvane::detail {

namespace {

// Clears the error numbers before a C library call whose failure throwErrno reports.
void clearErrno() {
    errno = 0;
#ifdef _WIN32
    _doserrno = 0;
#endif
}

[[noreturn]] void throwErrno(int fallback) {
#ifdef _WIN32
    // The C library keeps the system's own error beside its number.
    if (_doserrno != 0) throw std::system_error(static_cast<int>(_doserrno), std::system_category());
#endif
    const int code = errno != 0 ? errno : fallback;
    throw std::system_error(code, std::generic_category());
}

// The seam is set by a test while runs may write on other threads: a write
// takes its own reference to the current check.
struct ChunkWriteSeam {
    std::mutex mutex;
    std::shared_ptr<const ChunkWriteFailure> check;
    std::atomic<bool> set{false};  // spares the program the lock
};

ChunkWriteSeam& chunkWriteSeam() {
    static ChunkWriteSeam seam;
    return seam;
}

std::shared_ptr<const ChunkWriteFailure> currentChunkWriteFailure() {
    ChunkWriteSeam& seam = chunkWriteSeam();
    if (!seam.set.load(std::memory_order_acquire)) return nullptr;
    std::lock_guard lock(seam.mutex);
    return seam.check;
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
        clearErrno();
        file_ = openNewFile(temp_);
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

void setChunkWriteFailureForTests(ChunkWriteFailure failure) {
    ChunkWriteSeam& seam = chunkWriteSeam();
    std::lock_guard lock(seam.mutex);
    const bool set = static_cast<bool>(failure);
    seam.check = set ? std::make_shared<const ChunkWriteFailure>(std::move(failure)) : nullptr;
    seam.set.store(set, std::memory_order_release);
}

void ReplacingFile::write(const void* data, std::size_t bytes) {
    if (const auto fails = currentChunkWriteFailure(); fails && (*fails)(written_, bytes))
        throw std::system_error(std::make_error_code(std::errc::no_space_on_device));
    clearErrno();
    if (std::fwrite(data, 1, bytes, file_) != bytes) throwErrno(EIO);
    written_ += bytes;
}

void ReplacingFile::commit() {
    clearErrno();
    const bool flushed = std::fflush(file_) == 0;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!flushed || !closed) throwErrno(EIO);
    replaceFile(temp_, target_);
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

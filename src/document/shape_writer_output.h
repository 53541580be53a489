#pragma once
// The writing side of shape files: a temporary file beside the target that
// replaces the target only once it is complete, and a buffered UTF-16LE
// text output that knows the column of its current line.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>

namespace orvane::detail {

// A new file in the target's folder. commit() closes it and renames it
// over the target; until then (and when destroyed uncommitted) the target
// is untouched and the temporary file is removed again. Failures throw
// std::system_error carrying the reason.
class ReplacingFile {
public:
    explicit ReplacingFile(const std::filesystem::path& target);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    void write(const void* data, std::size_t bytes);
    void commit();

private:
    void discard() noexcept;

    std::filesystem::path target_;
    std::filesystem::path temp_;
    std::FILE* file_ = nullptr;
    std::uint64_t written_ = 0;
};

// Test seam: when set, consulted before each chunk goes to a temporary
// file, with the bytes already written and the size of the chunk; answering
// true makes that write fail as a full disk would. Tests only; empty in the
// program.
using ChunkWriteFailure = std::function<bool(std::uint64_t written, std::size_t bytes)>;
void setChunkWriteFailureForTests(ChunkWriteFailure failure);

// Buffered UTF-16LE text. Values arrive as UTF-8; ASCII is widened
// directly, anything else goes through the general conversion.
class Utf16TextOutput {
public:
    explicit Utf16TextOutput(ReplacingFile& file);

    void put(char16_t unit) {
        if (used_ == kCapacity) flush();
        buf_[used_++] = unit;
    }
    void putText(std::string_view utf8);
    // A space and then the text: the form of every value.
    void putSpaced(std::string_view utf8) {
        const std::size_t n = utf8.size();
        if (n + 1 > kCapacity - used_) flush();
        if (n + 1 <= kCapacity - used_) {
            char16_t* out = buf_.get() + used_;
            *out++ = u' ';
            const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
            std::size_t i = 0;
            while (i < n && s[i] < 0x80) *out++ = s[i++];
            if (i == n) {
                used_ += n + 1;
                return;
            }
        }
        put(u' ');
        putText(utf8);
    }
    void putTabs(int count);
    void lineEnd() {
        put(u'\r');
        put(u'\n');
        lineStart_ = written();
    }
    // Characters on the current line so far.
    std::uint64_t lineLength() const { return written() - lineStart_; }
    // Units put so far, flushed or not.
    std::uint64_t written() const { return flushed_ + used_; }
    void flush();

private:
    static constexpr std::size_t kCapacity = std::size_t{1} << 17;

    ReplacingFile& file_;
    std::unique_ptr<char16_t[]> buf_;
    std::size_t used_ = 0;
    std::uint64_t flushed_ = 0;
    std::uint64_t lineStart_ = 0;
    std::u16string wide_;
};

}  // namespace orvane::detail

#include "document/shape_reader_source.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>

#include "document/binary_shape_text.h"
#include "document/path_text.h"
#include "document/shape_container.h"
#include "document/utf16.h"

namespace orvane::detail {

namespace {
// Units read per refill: small enough to stay in the processor's cache and
// to touch little memory, large enough to make the reads cheap.
constexpr std::size_t kChunkUnits = std::size_t{1} << 17;
constexpr char16_t kByteOrderMark = 0xFEFF;
}  // namespace

std::error_code ShapeTextSource::open(const std::filesystem::path& chosen) {
    const std::filesystem::path path = systemPath(chosen);
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    if (status.type() == std::filesystem::file_type::not_found)
        return std::make_error_code(std::errc::no_such_file_or_directory);
    if (ec) return ec;
    if (status.type() == std::filesystem::file_type::directory)
        return std::make_error_code(std::errc::is_a_directory);
    if (status.type() != std::filesystem::file_type::regular) throw UnreadableShape{};
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec) return ec;
    // The stream keeps no reason of its own; the system's is in errno (on
    // Windows the system's own error also in _doserrno).
    errno = 0;
#ifdef _WIN32
    _doserrno = 0;
#endif
    file_.open(path, std::ios::binary);
    if (!file_) {
#ifdef _WIN32
        if (_doserrno != 0) return std::error_code(static_cast<int>(_doserrno), std::system_category());
#endif
        return errno ? std::error_code(errno, std::generic_category()) : std::make_error_code(std::errc::io_error);
    }
    bytesLeft_ = fileBytes_ = size;
    return {};
}

std::string ShapeTextSource::firstBytes(std::size_t n) {
    std::string bytes(static_cast<std::size_t>(std::min<std::uint64_t>(n, fileBytes_)), '\0');
    file_.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(file_.gcount()));
    file_.clear();
    file_.seekg(0);
    if (!file_) throw UnreadableShape{};
    return bytes;
}

std::size_t ShapeTextSource::readBytes(unsigned char* to, std::size_t room) {
    const auto bytes = static_cast<std::streamsize>(std::min<std::uint64_t>(room, bytesLeft_));
    if (bytes == 0) return 0;
    file_.read(reinterpret_cast<char*>(to), bytes);
    if (file_.gcount() != bytes) throw UnreadableShape{};
    bytesLeft_ -= static_cast<std::uint64_t>(bytes);
    return static_cast<std::size_t>(bytes);
}

void ShapeTextSource::useText(std::u16string text) {
    text_ = std::move(text);
    textPos_ = 0;
    bytesLeft_ = std::uint64_t{text_.size()} * 2;
    fromText_ = true;
}

std::size_t ShapeTextSource::readUnits(char16_t* to, std::size_t maxUnits) {
    const std::size_t units = static_cast<std::size_t>(std::min<std::uint64_t>(maxUnits, bytesLeft_ / 2));
    if (units == 0) return 0;
    if (fromText_) {
        std::memcpy(to, text_.data() + textPos_, units * sizeof(char16_t));
        textPos_ += units;
        bytesLeft_ -= std::uint64_t{units} * 2;
        return units;
    }
    const auto bytes = static_cast<std::streamsize>(units * 2);
    file_.read(reinterpret_cast<char*>(to), bytes);
    if (file_.gcount() != bytes) throw UnreadableShape{};
    bytesLeft_ -= static_cast<std::uint64_t>(bytes);
    if constexpr (std::endian::native == std::endian::big) {
        for (std::size_t i = 0; i < units; ++i) to[i] = static_cast<char16_t>((to[i] >> 8) | (to[i] << 8));
    }
    return units;
}

void ShapeTextSource::reserve(std::size_t units) {
    if (units <= capacity_) return;
    auto bigger = std::make_unique_for_overwrite<char16_t[]>(units);
    if (count_) std::memcpy(bigger.get(), buf_.get() + offset_, count_ * sizeof(char16_t));
    buf_ = std::move(bigger);
    capacity_ = units;
    offset_ = 0;
}

std::string ShapeTextSource::readHeaderLine() {
    reserve(kChunkUnits);
    std::size_t filled = readUnits(buf_.get(), capacity_);
    if (filled == 0) throw UnreadableShape{};
    std::size_t start = buf_[0] == kByteOrderMark ? 1 : 0;
    if (start == filled && bytesLeft_ < 2) throw UnreadableShape{};  // nothing but the mark

    std::u16string line;
    std::size_t bodyStart = 0;  // 0: the header runs to the end of the file
    std::uint64_t unitsBefore = 0;  // units of the file before the buffer
    while (filled > 0) {
        const char16_t* first = buf_.get() + start;
        const char16_t* last = buf_.get() + filled;
        const char16_t* lf = std::find(first, last, u'\n');
        line.append(first, lf);
        if (lf != last) {
            bodyStart = static_cast<std::size_t>(lf - buf_.get()) + 1;
            headerEndUnit_ = unitsBefore + bodyStart - 1;
            break;
        }
        unitsBefore += filled;
        filled = readUnits(buf_.get(), capacity_);
        start = 0;
    }
    if (!line.empty() && line.back() == u'\r') line.pop_back();

    // The window starts on the line feed's unit, which becomes T's added
    // space; with no body left the window holds just that space.
    offset_ = bodyStart == 0 ? 0 : bodyStart - 1;
    count_ = bodyStart == 0 ? 1 : filled - offset_;
    return toUtf8(line);
}

void ShapeTextSource::startBody() {
    if (bytesLeft_ % 2 != 0)
        throw UnreadableShape{"an odd number of bytes: it ends in the middle of a UTF-16 character"};
    buf_[offset_] = u' ';
    base_ = 1;
    length_ = count_ + bytesLeft_ / 2;
}

void ShapeTextSource::fill(std::uint64_t keepFrom, std::uint64_t need) {
    if (need < end()) return;
    if (need > length_ || keepFrom < base_ || keepFrom > need) throw UnreadableShape{};
    const auto drop = static_cast<std::size_t>(keepFrom - base_);
    const std::size_t keep = count_ - drop;
    const auto wanted = static_cast<std::size_t>(need - keepFrom + 1);
    if (wanted + kChunkUnits / 2 > capacity_) {
        // An item longer than the window: grow it, keeping what is needed.
        offset_ += drop;
        count_ = keep;
        reserve(std::max(capacity_ * 2, wanted + kChunkUnits));
    } else {
        std::memmove(buf_.get(), buf_.get() + offset_ + drop, keep * sizeof(char16_t));
        offset_ = 0;
        count_ = keep;
    }
    base_ = keepFrom;
    while (end() <= need) {
        const std::size_t got = readUnits(buf_.get() + offset_ + count_, capacity_ - offset_ - count_);
        if (got == 0) throw UnreadableShape{};
        count_ += got;
    }
}

std::uint64_t ShapeTextSource::lineOf(std::uint64_t p) {
    // Line ends before the unit of position p: the header's line feed is
    // the last unit before position 2.
    const std::uint64_t units = headerEndUnit_ + std::max<std::uint64_t>(p, 1) - 1;
    std::uint64_t lineEnds = 0;
    if (fromText_) {
        const auto end = static_cast<std::size_t>(std::min<std::uint64_t>(units, text_.size()));
        lineEnds = static_cast<std::uint64_t>(std::count(text_.begin(), text_.begin() + static_cast<std::ptrdiff_t>(end), u'\n'));
        return lineEnds + 1;
    }
    file_.clear();
    file_.seekg(0);
    std::vector<unsigned char> chunk(std::size_t{1} << 16);
    for (std::uint64_t left = units * 2; left > 0 && file_;) {
        const auto want = static_cast<std::streamsize>(std::min<std::uint64_t>(left, chunk.size()));
        file_.read(reinterpret_cast<char*>(chunk.data()), want);
        const auto got = static_cast<std::size_t>(file_.gcount());
        for (std::size_t i = 0; i + 1 < got; i += 2) lineEnds += chunk[i] == 0x0A && chunk[i + 1] == 0;
        left -= got;
        if (got == 0) break;
    }
    return lineEnds + 1;
}

}  // namespace orvane::detail

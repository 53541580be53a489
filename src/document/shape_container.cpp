#include "document/shape_container.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "document/binary_shape_text.h"
#include "document/windows_1252.h"

namespace orvane {

namespace {

constexpr std::string_view kCompressedStart = "SIMISA@F";
constexpr std::string_view kPlainStart = "SIMISA@@@@@@@@@@";
constexpr std::string_view kBinaryShape = "JINX0s1b";
constexpr std::string_view kTextShape = "JINX0s1t";
constexpr std::size_t kContainerBytes = 16;  // "SIMISA..." before the sub-header or the zlib stream
constexpr std::size_t kSubHeaderBytes = 16;  // "JINX0s1b______\r\n"
constexpr std::string_view kInflated = " of the inflated data";
// Deflate packs at most about 1032 bytes into one.
constexpr std::uint64_t kMostInflateRatio = 1032;

std::string_view asText(std::span<const unsigned char> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

std::uint32_t u32At(std::span<const unsigned char> bytes, std::size_t pos) {
    return std::uint32_t{bytes[pos]} | std::uint32_t{bytes[pos + 1]} << 8 | std::uint32_t{bytes[pos + 2]} << 16 |
           std::uint32_t{bytes[pos + 3]} << 24;
}

// The first characters as the message may show them.
std::string shownStart(std::span<const unsigned char> bytes) {
    std::string shown;
    for (std::size_t i = 0; i < std::min<std::size_t>(8, bytes.size()); ++i)
        shown += bytes[i] >= 0x20 && bytes[i] < 0x7F ? static_cast<char>(bytes[i]) : '?';
    return shown;
}

// 8-bit text: the header line and the rest, widened.
std::u16string eightBitText(std::string_view container, std::span<const unsigned char> rest) {
    std::u16string text(container.begin(), container.end());
    appendWindows1252(text, rest);
    return text;
}

// The shape inside a sub-header (at `start` of data): binary tokens or
// 8-bit text.
ShapeContent subHeaderContent(std::vector<unsigned char> data, std::size_t start, std::uint64_t firstByte,
                              std::string_view where) {
    const std::span<const unsigned char> sub = std::span<const unsigned char>(data).subspan(start);
    const std::string_view kind = asText(sub.first(std::min(sub.size(), kBinaryShape.size())));
    ShapeContent content;
    if (kind == kBinaryShape && sub.size() >= kSubHeaderBytes) {
        content.tokensStart = start + kSubHeaderBytes;
        content.firstByte = firstByte + kSubHeaderBytes;
        content.where = where;
        content.data = std::move(data);
        return content;
    }
    if (kind == kTextShape) {
        content.text = eightBitText(kPlainStart, sub);
        return content;
    }
    throw DamagedShape("the data at byte " + groupedNumber(firstByte) + std::string(where) +
                       " is not a shape: it starts \"" + shownStart(sub) + "\"");
}

}  // namespace

ShapeForm formOfFile(std::string_view first) {
    if (first.starts_with(kCompressedStart)) return ShapeForm::Compressed;
    if (first.starts_with(kPlainStart)) {
        const std::string_view sub = first.substr(kContainerBytes);
        if (sub.starts_with(kBinaryShape)) return ShapeForm::Binary;
        if (sub.starts_with(kTextShape)) return ShapeForm::Text8Bit;
    }
    return ShapeForm::Text;
}

std::uint64_t declaredInflatedSize(std::string_view first) {
    if (!first.starts_with(kCompressedStart) || first.size() < 12) return 0;
    return u32At({reinterpret_cast<const unsigned char*>(first.data()), first.size()}, 8);
}

std::vector<unsigned char> inflateShape(std::span<const unsigned char> file, const std::function<void()>& reserved) {
    if (file.size() < kContainerBytes)
        throw DamagedShape("the compressed header ends early at byte " + groupedNumber(file.size()));
    if (asText(file.subspan(12, 4)) != "@@@@") throw DamagedShape("the compressed header lacks \"@@@@\" at byte 12");
    const std::uint64_t declared = u32At(file, 8);
    if (declared > kMostShapeBytes)
        throw DamagedShape("the header declares an inflated size of " + groupedNumber(declared) +
                           " bytes, more than 2 GiB");
    const std::span<const unsigned char> stream = file.subspan(kContainerBytes);

    // Never more room than the data can inflate to, whatever the header says.
    const std::uint64_t reachable = stream.size() * kMostInflateRatio + 64;
    std::vector<unsigned char> out;
    out.reserve(static_cast<std::size_t>(std::min(declared, reachable)));
    if (reserved) reserved();
    out.resize(out.capacity());

    z_stream z{};
    if (inflateInit(&z) != Z_OK) throw DamagedShape("zlib could not start");
    struct End {
        z_stream& z;
        ~End() { inflateEnd(&z); }
    } end{z};
    z.next_in = const_cast<Bytef*>(stream.data());
    z.avail_in = static_cast<uInt>(std::min<std::size_t>(stream.size(), UINT32_MAX));
    std::uint64_t produced = 0;
    unsigned char spill[1 << 14];  // counts what goes past the declared size
    int status = Z_OK;
    while (status != Z_STREAM_END) {
        const bool intoOut = produced < out.size();
        z.next_out = intoOut ? out.data() + produced : spill;
        z.avail_out = intoOut ? static_cast<uInt>(std::min<std::uint64_t>(out.size() - produced, 1u << 30))
                              : static_cast<uInt>(sizeof spill);
        const uInt room = z.avail_out;
        status = inflate(&z, Z_NO_FLUSH);
        produced += room - z.avail_out;
        if (status == Z_DATA_ERROR || status == Z_NEED_DICT)
            throw DamagedShape("compressed data is damaged at byte " + groupedNumber(kContainerBytes + z.total_in));
        if (status == Z_MEM_ERROR) throw std::bad_alloc();
        if (status == Z_BUF_ERROR || (status == Z_OK && z.avail_in == 0 && z.avail_out != 0))
            throw DamagedShape("compressed data ends early at byte " + groupedNumber(file.size()));
        if (produced > kMostShapeBytes) throw DamagedShape("the data inflates to more than 2 GiB");
    }
    if (z.total_in != stream.size())
        throw DamagedShape(groupedNumber(stream.size() - z.total_in) + " bytes follow the compressed data at byte " +
                           groupedNumber(kContainerBytes + z.total_in));
    if (produced != declared)
        throw DamagedShape("inflated size " + groupedNumber(produced) + " differs from the " + groupedNumber(declared) +
                           " the header declares");
    return out;
}

ShapeContent shapeContentOf(ShapeForm form, std::vector<unsigned char> file, const std::function<void()>& reserved) {
    switch (form) {
        case ShapeForm::Compressed: return subHeaderContent(inflateShape(file, reserved), 0, 0, kInflated);
        case ShapeForm::Binary: return subHeaderContent(std::move(file), kContainerBytes, kContainerBytes, {});
        case ShapeForm::Text8Bit: {
            ShapeContent content;
            content.text = eightBitText({}, file);
            return content;
        }
        case ShapeForm::Text:
        case ShapeForm::Unknown: break;
    }
    return {};
}

}  // namespace orvane

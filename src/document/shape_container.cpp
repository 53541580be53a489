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
// Compressed bytes read from the file at a time.
constexpr std::size_t kInputBytes = std::size_t{64} << 10;

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

// Reads up to n bytes, fewer only when the bytes end.
std::size_t readFull(const ReadBytes& read, unsigned char* to, std::size_t n) {
    std::size_t got = 0;
    while (got < n) {
        const std::size_t more = read(to + got, n - got);
        if (more == 0) break;
        got += more;
    }
    return got;
}

// Appends up to n bytes to out, its room growing with what arrives (a
// damaged header may declare far more than there is).
void appendAll(const ReadBytes& read, std::uint64_t n, std::vector<unsigned char>& out) {
    for (std::uint64_t left = n; left > 0;) {
        const std::size_t have = out.size();
        const auto step = static_cast<std::size_t>(std::min<std::uint64_t>(left, std::max<std::size_t>(have, 1 << 16)));
        out.resize(have + step);
        const std::size_t got = readFull(read, out.data() + have, step);
        out.resize(have + got);
        if (got < step) return;
        left -= got;
    }
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

ShapeInflater::ShapeInflater(ReadBytes file, std::uint64_t fileBytes)
    : file_(std::move(file)), fileBytes_(fileBytes), input_(kInputBytes) {
    unsigned char header[kContainerBytes];
    const std::size_t got = fileBytes < kContainerBytes ? 0 : readFull(file_, header, kContainerBytes);
    if (got < kContainerBytes)
        throw DamagedShape("the compressed header ends early at byte " + groupedNumber(std::min(fileBytes, got)));
    const std::span<const unsigned char> head(header);
    if (asText(head.subspan(12, 4)) != "@@@@") throw DamagedShape("the compressed header lacks \"@@@@\" at byte 12");
    declared_ = u32At(head, 8);
    if (declared_ > kMostShapeBytes)
        throw DamagedShape("the header declares an inflated size of " + groupedNumber(declared_) +
                           " bytes, more than 2 GiB");
    inputLeft_ = fileBytes - kContainerBytes;
    z_ = std::make_unique<z_stream>();
    if (inflateInit(z_.get()) != Z_OK) throw DamagedShape("zlib could not start");
    started_ = true;
}

ShapeInflater::~ShapeInflater() {
    if (started_) inflateEnd(z_.get());
}

void ShapeInflater::fail(const std::string& reason) {
    failed_ = true;
    throw DamagedShape(reason);
}

std::size_t ShapeInflater::read(unsigned char* to, std::size_t room) {
    const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(room, declared_ - produced_));
    std::size_t got = 0;
    while (got < wanted) got += inflateInto(to + got, wanted - got);
    return got;
}

void ShapeInflater::finish() {
    unsigned char spill[1 << 14];  // counts what goes past the declared size
    while (!failed_ && !ended_) inflateInto(spill, sizeof spill);
}

// One step of inflating into `to`; returns the bytes it made. The stream's
// end is checked when it is reached.
std::size_t ShapeInflater::inflateInto(unsigned char* to, std::size_t room) {
    z_stream& z = *z_;
    if (z.avail_in == 0 && inputLeft_ > 0) {
        const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(input_.size(), inputLeft_));
        const std::size_t got = readFull(file_, input_.data(), wanted);
        inputLeft_ = got < wanted ? 0 : inputLeft_ - got;
        z.next_in = input_.data();
        z.avail_in = static_cast<uInt>(got);
    }
    z.next_out = to;
    z.avail_out = static_cast<uInt>(std::min<std::size_t>(room, 1u << 30));
    const uInt before = z.avail_out;
    const int status = inflate(&z, Z_NO_FLUSH);
    const std::size_t made = before - z.avail_out;
    produced_ += made;
    // zlib checks the data's Adler-32 checksum only at the stream's end: a
    // mismatch there says the data is damaged, not where.
    if (status == Z_DATA_ERROR && z.msg && std::string_view(z.msg) == "incorrect data check")
        fail("the compressed data's checksum does not match: the file is damaged");
    if (status == Z_DATA_ERROR || status == Z_NEED_DICT)
        fail("compressed data is damaged at byte " + groupedNumber(kContainerBytes + z.total_in));
    if (status == Z_MEM_ERROR) {
        failed_ = true;
        throw std::bad_alloc();
    }
    if (status == Z_BUF_ERROR || (status == Z_OK && z.avail_in == 0 && inputLeft_ == 0 && z.avail_out != 0))
        fail("compressed data ends early at byte " + groupedNumber(fileBytes_));
    if (produced_ > kMostShapeBytes) fail("the data inflates to more than 2 GiB");
    if (status == Z_STREAM_END) {
        ended_ = true;
        checkEnd();
    }
    return made;
}

void ShapeInflater::checkEnd() {
    const std::uint64_t streamBytes = fileBytes_ - kContainerBytes;
    const std::uint64_t used = z_->total_in;
    if (used != streamBytes)
        fail(groupedNumber(streamBytes - used) + " bytes follow the compressed data at byte " +
             groupedNumber(kContainerBytes + used));
    if (produced_ != declared_)
        fail("inflated size " + groupedNumber(produced_) + " differs from the " + groupedNumber(declared_) +
             " the header declares");
}

ShapeContent::ShapeContent(ShapeForm form, ReadBytes file, std::uint64_t fileBytes,
                           const std::function<void()>& reserved)
    : file_(std::move(file)) {
    if (fileBytes > kMostShapeBytes) throw DamagedShape("the file is larger than 2 GiB");
    switch (form) {
        case ShapeForm::Compressed:
            inflater_ = std::make_unique<ShapeInflater>(file_, fileBytes);
            subHeader([this](unsigned char* to, std::size_t room) { return inflater_->read(to, room); },
                      inflater_->declared(), 0, kInflated, reserved);
            break;
        case ShapeForm::Binary: {
            unsigned char container[kContainerBytes];
            readFull(file_, container, kContainerBytes);  // the form was told by these
            subHeader(file_, fileBytes - kContainerBytes, kContainerBytes, {}, reserved);
            break;
        }
        case ShapeForm::Text8Bit: {
            std::vector<unsigned char> bytes;
            bytes.reserve(static_cast<std::size_t>(fileBytes));
            if (reserved) reserved();
            appendAll(file_, fileBytes, bytes);
            text_ = eightBitText({}, bytes);
            break;
        }
        case ShapeForm::Text:
        case ShapeForm::Unknown: break;
    }
}

// The shape inside a sub-header, the first of `dataBytes` bytes of data:
// binary tokens or 8-bit text.
void ShapeContent::subHeader(const ReadBytes& data, std::uint64_t dataBytes, std::uint64_t firstByte,
                             std::string_view where, const std::function<void()>& reserved) {
    std::vector<unsigned char> head(static_cast<std::size_t>(std::min<std::uint64_t>(dataBytes, kSubHeaderBytes)));
    head.resize(readFull(data, head.data(), head.size()));
    const std::string_view kind = asText(std::span(head).first(std::min(head.size(), kBinaryShape.size())));
    if (kind == kBinaryShape && head.size() == kSubHeaderBytes) {
        isTokens_ = true;
        tokens_ = data;
        tokenBytes_ = dataBytes - kSubHeaderBytes;
        firstByte_ = firstByte + kSubHeaderBytes;
        where_ = where;
        return;
    }
    if (kind == kTextShape) {
        std::vector<unsigned char> all = std::move(head);
        appendAll(data, dataBytes - all.size(), all);
        if (reserved) reserved();
        finish();
        text_ = eightBitText(kPlainStart, all);
        return;
    }
    finish();
    throw DamagedShape("the data at byte " + groupedNumber(firstByte) + std::string(where) +
                       " is not a shape: it starts \"" + shownStart(head) + "\"");
}

void ShapeContent::finish() {
    if (inflater_) inflater_->finish();
}

std::vector<unsigned char> inflateShape(std::span<const unsigned char> file) {
    const ReadBytes read = [&file](unsigned char* to, std::size_t room) {
        const std::size_t n = std::min(room, file.size());
        std::memcpy(to, file.data(), n);
        file = file.subspan(n);
        return n;
    };
    ShapeInflater inflater(read, file.size());
    std::vector<unsigned char> out;
    appendAll([&inflater](unsigned char* to, std::size_t room) { return inflater.read(to, room); },
              inflater.declared(), out);
    inflater.finish();
    return out;
}

}  // namespace orvane

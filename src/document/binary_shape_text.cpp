#include "document/binary_shape_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "document/block_rules.h"
#include "document/utf16.h"

namespace orvane {

using binary::BlockRule;
using binary::Slot;
using binary::SlotCount;
using binary::SlotType;

std::string groupedNumber(std::uint64_t value) {
    std::string digits = std::to_string(value);
    for (std::size_t i = digits.size(); i > 3; i -= 3) digits.insert(i - 3, 1, ',');
    return digits;
}

namespace {

// "%g" of the double nearest value, with the exponent widened to 3 digits.
char* printfStyleFloat(char* out, float value) {
    char buf[48];
    const auto result = std::to_chars(buf, buf + sizeof buf, static_cast<double>(value), std::chars_format::general, 6);
    std::string_view text(buf, static_cast<std::size_t>(result.ptr - buf));
    const std::size_t e = text.find('e');
    if (e == std::string_view::npos) return std::copy(text.begin(), text.end(), out);
    out = std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(e + 2), out);
    for (std::size_t digits = text.size() - (e + 2); digits < 3; ++digits) *out++ = '0';
    return std::copy(text.begin() + static_cast<std::ptrdiff_t>(e + 2), text.end(), out);
}

// The digits of "%g" (at most 6, trailing zeros dropped) written in its
// fixed or exponent form, as C's "%g" chooses between them.
char* gForm(char* out, bool negative, const char* digits, int count, int exponent) {
    if (negative) *out++ = '-';
    if (exponent < -4 || exponent >= 6) {
        *out++ = digits[0];
        if (count > 1) {
            *out++ = '.';
            out = std::copy(digits + 1, digits + count, out);
        }
        *out++ = 'e';
        *out++ = exponent < 0 ? '-' : '+';
        const int magnitude = exponent < 0 ? -exponent : exponent;
        *out++ = static_cast<char>('0' + magnitude / 100);
        *out++ = static_cast<char>('0' + magnitude / 10 % 10);
        *out++ = static_cast<char>('0' + magnitude % 10);
        return out;
    }
    if (exponent < 0) {
        *out++ = '0';
        *out++ = '.';
        for (int i = -1; i > exponent; --i) *out++ = '0';
        return std::copy(digits, digits + count, out);
    }
    for (int i = 0; i <= exponent; ++i) *out++ = i < count ? digits[i] : '0';
    if (count > exponent + 1) {
        *out++ = '.';
        out = std::copy(digits + exponent + 1, digits + count, out);
    }
    return out;
}

// 5 to the powers 0 to 13.
constexpr std::uint64_t kPowersOf5[] = {1,         5,          25,          125,          625,
                                        3125,      15625,      78125,       390625,       1953125,
                                        9765625,   48828125,   244140625,   1220703125};

// The magnitude's 6 significant digits as "%g" rounds them (to nearest,
// ties to even) as a number from 100000 to 999999, and the decimal
// exponent of the first; exact integer arithmetic, for 1e-8 <= |value| <
// 1e6 (shapes hold little else). False outside that range.
bool sixDigits(std::uint32_t bits, std::uint32_t& digits, int& exponent) {
    const int biased = static_cast<int>((bits >> 23) & 0xFF);
    if (biased == 0 || biased == 0xFF) return false;
    const std::uint64_t mantissa = (bits & 0x7FFFFF) | 0x800000;
    const int power2 = biased - 150;  // |value| = mantissa * 2^power2
    // floor(log10 of 2^(bits above the point - 1)): the exponent or one less.
    int e = ((power2 + 23) * 78913) >> 18;
    for (;;) {
        const int k = 5 - e;  // |value| * 10^k = mantissa * 5^k * 2^(power2 + k)
        if (k < 0 || k > 13) return false;
        const std::uint64_t scaled = mantissa * kPowersOf5[k];
        const int shift = power2 + k;
        std::uint64_t whole = 0;
        bool up = false;
        if (shift >= 0) {
            whole = scaled << shift;  // below 10^7
        } else {
            const int right = -shift;
            if (right >= 64) return false;
            whole = scaled >> right;
            const std::uint64_t rest = scaled & ((std::uint64_t{1} << right) - 1);
            const std::uint64_t half = std::uint64_t{1} << (right - 1);
            up = rest > half || (rest == half && (whole & 1));
        }
        if (whole >= 1000000) {
            ++e;
            continue;
        }
        whole += up;
        if (whole == 1000000) {
            whole = 100000;
            ++e;
        }
        digits = static_cast<std::uint32_t>(whole);
        exponent = e;
        return true;
    }
}

}  // namespace

char* toolFloatChars(char* out, float value) {
    if (value == 0.0f) {
        *out++ = '0';
        return out;
    }
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    char digits[12];
    int count = 0;
    int exponent = 0;
    if (std::uint32_t six; sixDigits(bits, six, exponent)) {
        for (int i = 5; i >= 0; --i, six /= 10) digits[i] = static_cast<char>('0' + six % 10);
        count = 6;
        while (digits[count - 1] == '0') --count;
        return gForm(out, value < 0, digits, count, exponent);
    }
    // The shortest text that reads back as the float. When it has at most
    // 6 significant digits it is also the nearest 6-digit decimal to the
    // float (a float's rounding interval is narrower than half a step of
    // the 6th digit), so its digits are those "%g" prints.
    char buf[32];
    const auto result = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
    const char* p = buf;
    const bool negative = *p == '-';
    if (negative) ++p;
    for (; *p != 'e'; ++p)
        if (*p != '.') digits[count++] = *p;
    if (count > 6 || std::fabs(value) < std::numeric_limits<float>::min())  // subnormals are coarser
        return printfStyleFloat(out, value);
    std::from_chars(p + 1 + (p[1] == '+'), result.ptr, exponent);
    return gForm(out, negative, digits, count, exponent);
}

std::string toolFloatText(float value) {
    char buf[24];
    return std::string(buf, toolFloatChars(buf, value));
}

namespace {

// Blocks of a shape nest as its grammar allows, a dozen levels; a deeper
// file is damaged.
constexpr int kMaxDepth = 64;

// Bytes of tokens held at a time: small enough to stay in the processor's
// cache, large enough for any one item (a string is at most 128 KiB).
constexpr std::size_t kWindowBytes = std::size_t{256} << 10;

// Positions are counted from the first token byte. The decoder reads the
// bytes strictly in order, so the window drops whatever lies before the
// position it next asks for.
class TokenDecoder {
public:
    TokenDecoder(const ReadBytes& read, std::uint64_t size, std::uint64_t firstByte, std::string_view where,
                 ShapeTokenSink& sink)
        : read_(read), size_(size), firstByte_(firstByte), where_(where), sink_(sink) {}

    void decode() {
        if (size_ < 8) fail("the binary data at byte " + at(0) + " is too short for the shape block");
        need(0, 8);
        const BlockRule* rule = binary::ruleForToken(u16(0));
        if (!rule || rule->token != binary::kShapeToken)
            fail("the binary data at byte " + at(0) + " starts with " + describe(u16(0)) + ", not shape");
        const std::uint64_t end = block(0, size_, nullptr, 0);
        if (end != size_) fail(groupedNumber(size_ - end) + " bytes follow the shape block at byte " + at(end));
    }

private:
    [[noreturn]] void fail(const std::string& reason) const { throw DamagedShape(reason); }
    std::string at(std::uint64_t pos) const { return groupedNumber(firstByte_ + pos) + std::string(where_); }

    // Makes bytes [pos, pos + n) readable; pos never goes back.
    void need(std::uint64_t pos, std::size_t n) {
        if (pos + n > windowEnd_) refill(pos, n);
    }
    void refill(std::uint64_t pos, std::size_t n) {
        for (unsigned char skipped[64]; windowEnd_ < pos;) {  // a gap: never so far
            const std::size_t got =
                read_(skipped, static_cast<std::size_t>(std::min<std::uint64_t>(sizeof skipped, pos - windowEnd_)));
            if (got == 0) fail("the binary data ends early at byte " + at(windowEnd_));
            windowEnd_ += got;
        }
        const std::size_t keep = static_cast<std::size_t>(windowEnd_ - pos);
        if (keep) std::memmove(window_.data(), window_.data() + (pos - windowStart_), keep);
        windowStart_ = pos;
        if (n > window_.size()) window_.resize(n);
        std::size_t filled = keep;
        const std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(window_.size(), size_ - pos));
        while (filled < wanted) {
            const std::size_t got = read_(window_.data() + filled, wanted - filled);
            if (got == 0) fail("the binary data ends early at byte " + at(pos + filled));
            filled += got;
        }
        windowEnd_ = pos + filled;
    }

    unsigned char byte(std::uint64_t pos) const { return window_[static_cast<std::size_t>(pos - windowStart_)]; }
    std::uint16_t u16(std::uint64_t pos) const {
        const unsigned char* b = window_.data() + (pos - windowStart_);
        return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
    }
    std::uint32_t u32(std::uint64_t pos) const {
        const unsigned char* b = window_.data() + (pos - windowStart_);
        return std::uint32_t{b[0]} | std::uint32_t{b[1]} << 8 | std::uint32_t{b[2]} << 16 |
               std::uint32_t{b[3]} << 24;
    }
    static std::string describe(std::uint32_t token) {
        const BlockRule* rule = binary::ruleForToken(token);
        return rule ? "block " + std::string(rule->name) : "unknown block number " + std::to_string(token);
    }

    // UTF-16 units of the data as UTF-8, in scratch.
    std::string_view utf8(std::uint64_t pos, std::size_t units) {
        wide_.resize(units);
        for (std::size_t i = 0; i < units; ++i) wide_[i] = static_cast<char16_t>(u16(pos + 2 * i));
        scratch_.clear();
        appendUtf8(scratch_, wide_);
        return scratch_;
    }

    // How UTF-16 units stand in the text: as one bare word, as one value in
    // quotation marks (a blank, tab or parenthesis inside, or nothing at
    // all), or not at all (a quotation mark would end the quoted value
    // early; a line break has no place in one item).
    enum class TextForm { Bare, Quoted, None };
    TextForm textForm(std::uint64_t pos, std::size_t units) const {
        bool bare = units != 0 && u16(pos) != u'"';
        for (std::size_t i = 0; i < units; ++i) {
            const std::uint16_t u = u16(pos + 2 * i);
            if (u == u'\r' || u == u'\n' || (u == u'"' && !bare)) return TextForm::None;
            if (u < 0x21 || u == u'(' || u == u')') {
                if (!bare) continue;
                bare = false;
                // A quotation mark before this unit was part of a bare word.
                for (std::size_t j = 0; j < i; ++j)
                    if (u16(pos + 2 * j) == u'"') return TextForm::None;
            }
        }
        return bare ? TextForm::Bare : TextForm::Quoted;
    }

    // The units as the text's item: UTF-8, in quotation marks when the form
    // is Quoted.
    std::string_view item(std::uint64_t pos, std::size_t units, TextForm form) {
        if (form == TextForm::Bare) return utf8(pos, units);
        utf8(pos, units);
        scratch_.insert(scratch_.begin(), '"');
        scratch_.push_back('"');
        return scratch_;
    }

    // Reads the block at pos (its 8 header bytes readable), which must end
    // by limit; returns its end.
    std::uint64_t block(std::uint64_t pos, std::uint64_t limit, const BlockRule* parent, int depth) {
        const std::uint16_t token = u16(pos);
        const BlockRule* rule = binary::ruleForToken(token);
        if (!rule) fail("unknown block number " + std::to_string(token) + " at byte " + at(pos));
        // Messages are made only on failure: this runs for every block.
        const auto name = [&] { return "block " + std::string(rule->name) + " at byte " + at(pos); };
        if (!rule->known) fail(name() + " has no known layout");
        if (depth >= kMaxDepth) fail(name() + " is nested too deeply");
        if (const std::uint16_t second = u16(pos + 2); second != 0)
            fail(name() + " has the unknown second word " + std::to_string(second));
        const std::uint64_t length = u32(pos + 4);
        if (length > limit - pos - 8)
            fail(name() + (parent ? " runs past the end of its parent " + std::string(parent->name)
                                : " runs past the end of the data"));
        const std::uint64_t end = pos + 8 + length;
        std::uint64_t p = pos + 8;
        if (p == end) fail(name() + " ends before its label length");
        need(p, 1);
        const std::size_t labelUnits = byte(p++);
        if (labelUnits * 2 > end - p) fail(name() + " ends inside its label");

        if (labelUnits) {
            need(p, labelUnits * 2);
            const TextForm form = textForm(p, labelUnits);
            if (form == TextForm::None) fail(name() + " has a label that shape text cannot hold");
            sink_.tokenBlockOpen(rule->name, item(p, labelUnits, form));
            p += labelUnits * 2;
        } else {
            sink_.tokenBlockOpen(rule->name, {});
        }
        for (const Slot& slot : rule->slots) {
            if (slot.count == SlotCount::One) {
                if (p == end) fail(name() + " ends before all of its contents");
                p = item(slot, p, end, *rule, pos, depth);
            } else if (slot.count == SlotCount::Optional) {
                if (p < end && fits(slot, p, end)) p = item(slot, p, end, *rule, pos, depth);
            } else {
                while (p < end) p = item(slot, p, end, *rule, pos, depth);
            }
        }
        if (p != end) fail(name() + " has " + groupedNumber(end - p) + " bytes left over at byte " + at(p));
        sink_.tokenBlockClose(firstByte_ + end);
        return end;
    }

    // Whether an optional item at p is there: a value is, a block only when
    // the next block is one the slot takes.
    bool fits(const Slot& slot, std::uint64_t p, std::uint64_t end) {
        if (slot.type != SlotType::Block) return true;
        if (end - p < 2) return false;
        need(p, 2);
        const std::uint16_t token = u16(p);
        for (std::uint16_t allowed : slot.blocks)
            if (allowed == token) return true;
        return false;
    }

    std::uint64_t item(const Slot& slot, std::uint64_t p, std::uint64_t end, const BlockRule& rule,
                       std::uint64_t blockPos, int depth) {
        const auto name = [&] { return "block " + std::string(rule.name) + " at byte " + at(blockPos); };
        if (slot.type == SlotType::Block) {
            if (end - p < 8) fail("block header at byte " + at(p) + " runs past the end of its parent " +
                                  std::string(rule.name));
            need(p, 8);
            if (!binary::ruleForToken(u16(p)))
                fail("unknown block number " + std::to_string(u16(p)) + " at byte " + at(p));
            if (!fits(slot, p, end)) fail(describe(u16(p)) + " at byte " + at(p) + " does not belong in " +
                                          std::string(rule.name));
            return block(p, end, &rule, depth + 1);
        }
        if (slot.type == SlotType::String) {
            if (end - p < 2) fail(name() + " ends inside a string");
            need(p, 2);
            const std::size_t units = u16(p);
            p += 2;
            if (units * 2 > end - p) fail(name() + " ends inside a string");
            need(p, units * 2);
            const TextForm form = textForm(p, units);
            if (form == TextForm::None) fail(name() + " holds a string that shape text cannot hold");
            sink_.tokenValue(item(p, units, form));
            return p + units * 2;
        }
        if (end - p < 4) fail(name() + " ends inside a value at byte " + at(p));
        need(p, 4);
        const std::uint32_t bits = u32(p);
        char buf[32];
        char* last = buf;
        switch (slot.type) {
            case SlotType::U32: last = std::to_chars(buf, buf + sizeof buf, bits).ptr; break;
            case SlotType::I32:
                last = std::to_chars(buf, buf + sizeof buf, static_cast<std::int32_t>(bits)).ptr;
                break;
            case SlotType::Hex: {
                static constexpr char kDigits[] = "0123456789abcdef";
                for (int i = 7; i >= 0; --i) *last++ = kDigits[(bits >> (4 * i)) & 0xF];
                break;
            }
            case SlotType::F32: {
                float value;
                std::memcpy(&value, &bits, sizeof value);
                if (!std::isfinite(value)) fail(name() + " holds a float at byte " + at(p) + " that is not a number");
                last = toolFloatChars(buf, value);
                break;
            }
            default: break;
        }
        sink_.tokenValue(std::string_view(buf, static_cast<std::size_t>(last - buf)));
        return p + 4;
    }

    const ReadBytes& read_;
    const std::uint64_t size_;
    std::uint64_t firstByte_;
    std::string_view where_;
    std::vector<unsigned char> window_ = std::vector<unsigned char>(kWindowBytes);
    std::uint64_t windowStart_ = 0;  // position of window_[0]
    std::uint64_t windowEnd_ = 0;    // position after its last byte read

    ShapeTokenSink& sink_;
    std::u16string wide_;
    std::string scratch_;
};

}  // namespace

void decodeShapeTokens(const ReadBytes& read, std::uint64_t size, std::uint64_t firstByte, std::string_view where,
                       ShapeTokenSink& sink) {
    TokenDecoder(read, size, firstByte, where, sink).decode();
}

}  // namespace orvane

#include "document/binary_shape_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "document/block_rules.h"

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

std::string toolFloatText(float value) {
    if (value == 0.0f) return "0";
    char buf[48];
    const auto result = std::to_chars(buf, buf + sizeof buf, static_cast<double>(value), std::chars_format::general, 6);
    std::string text(buf, result.ptr);
    // The tool's C library writes at least three exponent digits.
    if (const std::size_t e = text.find('e'); e != std::string::npos) {
        const std::size_t digits = text.size() - (e + 2);
        if (digits < 3) text.insert(e + 2, 3 - digits, '0');
    }
    return text;
}

namespace {

// Blocks of a shape nest as its grammar allows, a dozen levels; a deeper
// file is damaged.
constexpr int kMaxDepth = 64;

class TokenDecoder {
public:
    TokenDecoder(std::span<const unsigned char> data, std::uint64_t firstByte, std::string_view where)
        : data_(data), firstByte_(firstByte), where_(where) {}

    std::u16string decode() {
        // Text takes about four units per byte of tokens; the reserve stays
        // modest for huge inputs, the string grows as needed past it.
        out_.reserve(std::min<std::size_t>(data_.size() * 4, std::size_t{1} << 26));
        putAscii(kDecodedHeader);
        putAscii("\r\n\r\n");
        if (data_.size() < 8) fail("the binary data at byte " + at(0) + " is too short for the shape block");
        const BlockRule* rule = binary::ruleForToken(u16(0));
        if (!rule || rule->token != binary::kShapeToken)
            fail("the binary data at byte " + at(0) + " starts with " + describe(u16(0)) + ", not shape");
        const std::size_t end = block(0, data_.size(), nullptr, 0);
        if (end != data_.size())
            fail(groupedNumber(data_.size() - end) + " bytes follow the shape block at byte " + at(end));
        return std::move(out_);
    }

private:
    [[noreturn]] void fail(const std::string& reason) const { throw DamagedShape(reason); }
    std::string at(std::size_t pos) const { return groupedNumber(firstByte_ + pos) + std::string(where_); }
    std::uint16_t u16(std::size_t pos) const { return static_cast<std::uint16_t>(data_[pos] | (data_[pos + 1] << 8)); }
    std::uint32_t u32(std::size_t pos) const {
        std::uint32_t v = 0;
        for (int i = 3; i >= 0; --i) v = (v << 8) | data_[pos + static_cast<std::size_t>(i)];
        return v;
    }
    static std::string describe(std::uint32_t token) {
        const BlockRule* rule = binary::ruleForToken(token);
        return rule ? "block " + std::string(rule->name) : "unknown block number " + std::to_string(token);
    }

    void putAscii(std::string_view text) { out_.append(text.begin(), text.end()); }
    void putUnits(std::size_t pos, std::size_t units) {
        for (std::size_t i = 0; i < units; ++i) out_.push_back(static_cast<char16_t>(u16(pos + 2 * i)));
    }

    // Whether UTF-16 units read back from the text as one bare word.
    bool isBareWord(std::size_t pos, std::size_t units) const {
        if (units == 0 || u16(pos) == u'"') return false;
        for (std::size_t i = 0; i < units; ++i) {
            const std::uint16_t u = u16(pos + 2 * i);
            if (u < 0x21 || u == u'(' || u == u')') return false;
        }
        return true;
    }

    // Reads the block at pos, which must end by limit; returns its end.
    std::size_t block(std::size_t pos, std::size_t limit, const BlockRule* parent, int depth) {
        const std::uint16_t token = u16(pos);
        const BlockRule* rule = binary::ruleForToken(token);
        if (!rule) fail("unknown block number " + std::to_string(token) + " at byte " + at(pos));
        const std::string name = "block " + std::string(rule->name) + " at byte " + at(pos);
        if (!rule->known) fail(name + " has no known layout");
        if (depth >= kMaxDepth) fail(name + " is nested too deeply");
        if (const std::uint16_t second = u16(pos + 2); second != 0)
            fail(name + " has the unknown second word " + std::to_string(second));
        const std::uint64_t length = u32(pos + 4);
        if (length > limit - pos - 8)
            fail(name + (parent ? " runs past the end of its parent " + std::string(parent->name)
                                : " runs past the end of the data"));
        const std::size_t end = pos + 8 + static_cast<std::size_t>(length);
        std::size_t p = pos + 8;
        if (p == end) fail(name + " ends before its label length");
        const std::size_t labelUnits = data_[p++];
        if (labelUnits * 2 > end - p) fail(name + " ends inside its label");

        putAscii("\r\n");
        putAscii(rule->name);
        if (labelUnits) {
            if (!isBareWord(p, labelUnits)) fail(name + " has a label that shape text cannot hold");
            out_.push_back(u' ');
            putUnits(p, labelUnits);
            p += labelUnits * 2;
        }
        putAscii(" (");
        for (const Slot& slot : rule->slots) {
            if (slot.count == SlotCount::One) {
                if (p == end) fail(name + " ends before all of its contents");
                p = item(slot, p, end, *rule, name, depth);
            } else if (slot.count == SlotCount::Optional) {
                if (p < end && fits(slot, p, end)) p = item(slot, p, end, *rule, name, depth);
            } else {
                while (p < end) p = item(slot, p, end, *rule, name, depth);
            }
        }
        if (p != end) fail(name + " has " + groupedNumber(end - p) + " bytes left over at byte " + at(p));
        putAscii(" )");
        return end;
    }

    // Whether an optional item at p is there: a value is, a block only when
    // the next block is one the slot takes.
    bool fits(const Slot& slot, std::size_t p, std::size_t end) const {
        if (slot.type != SlotType::Block) return true;
        if (end - p < 2) return false;
        const std::uint16_t token = u16(p);
        for (std::uint16_t allowed : slot.blocks)
            if (allowed == token) return true;
        return false;
    }

    std::size_t item(const Slot& slot, std::size_t p, std::size_t end, const BlockRule& rule,
                     const std::string& name, int depth) {
        if (slot.type == SlotType::Block) {
            if (end - p < 8) fail("block header at byte " + at(p) + " runs past the end of its parent " +
                                  std::string(rule.name));
            if (!binary::ruleForToken(u16(p)))
                fail("unknown block number " + std::to_string(u16(p)) + " at byte " + at(p));
            if (!fits(slot, p, end)) fail(describe(u16(p)) + " at byte " + at(p) + " does not belong in " +
                                          std::string(rule.name));
            return block(p, end, &rule, depth + 1);
        }
        if (slot.type == SlotType::String) {
            if (end - p < 2) fail(name + " ends inside a string");
            const std::size_t units = u16(p);
            p += 2;
            if (units * 2 > end - p) fail(name + " ends inside a string");
            if (!isBareWord(p, units)) fail(name + " holds a string that shape text cannot hold");
            out_.push_back(u' ');
            putUnits(p, units);
            return p + units * 2;
        }
        if (end - p < 4) fail(name + " ends inside a value at byte " + at(p));
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
                if (!std::isfinite(value)) fail(name + " holds a float at byte " + at(p) + " that is not a number");
                const std::string text = toolFloatText(value);
                last = std::copy(text.begin(), text.end(), buf);
                break;
            }
            default: break;
        }
        out_.push_back(u' ');
        out_.append(buf, last);
        return p + 4;
    }

    std::span<const unsigned char> data_;
    std::uint64_t firstByte_;
    std::string_view where_;
    std::u16string out_;
};

}  // namespace

std::u16string binaryShapeText(std::span<const unsigned char> tokens, std::uint64_t firstByte,
                               std::string_view where) {
    return TokenDecoder(tokens, firstByte, where).decode();
}

}  // namespace orvane

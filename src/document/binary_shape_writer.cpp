#include "document/binary_shape_writer.h"

#include <zlib.h>

#include <charconv>
#include <cstring>
#include <limits>
#include <string>

#include "document/block_rules.h"
#include "document/numbers.h"
#include "document/placeholder_walk.h"
#include "document/shape_error.h"
#include "document/utf16.h"

namespace orvane {

using binary::BlockRule;
using binary::Slot;
using binary::SlotCount;
using binary::SlotType;

namespace {

constexpr std::string_view kSubHeader = "JINX0s1b______\r\n";
// The rules nest a dozen levels; a tree deeper than this cannot follow them.
constexpr int kMaxDepth = 64;

// A block's items in order, each a value or the child it places.
class ItemCursor {
public:
    explicit ItemCursor(const clsReader& node) : values_(node.Strings()), children_(node.Nodes()) {}
    bool done() const { return pos_ == values_.size(); }
    const clsReader* child() const {
        if (done() || placed_ == children_.size()) return nullptr;
        return isPlaceholderOf(values_[pos_], *children_[placed_]) ? children_[placed_].get() : nullptr;
    }
    const ShapeText& value() const { return values_[pos_]; }
    std::size_t valueNumber() const { return pos_ + 1; }
    void step() {
        if (child()) ++placed_;
        ++pos_;
    }
    bool allPlaced() const { return placed_ == children_.size(); }

private:
    const StringList& values_;
    const NodeList& children_;
    std::size_t pos_ = 0;
    std::size_t placed_ = 0;
};

class TokenEncoder {
public:
    std::vector<unsigned char> encode(const clsReader& root) {
        out_.assign(kSubHeader.begin(), kSubHeader.end());
        const BlockRule* rule = binary::ruleForName(root.Name.view());
        if (!rule || rule->token != binary::kShapeToken)
            throw ShapeError("the outermost block is " + quoted(root.Name.view()) + ", not shape");
        block(root, *rule, 0);
        return std::move(out_);
    }

private:
    static std::string quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }
    static bool isQuoted(std::string_view text) { return text.size() >= 2 && text.front() == '"' && text.back() == '"'; }
    // A value or label in quotation marks, as the binary form holds it.
    static std::string_view unquoted(std::string_view text) {
        return isQuoted(text) ? text.substr(1, text.size() - 2) : text;
    }

    [[noreturn]] static void fail(const clsReader& node, const std::string& what) {
        throw ShapeError("block " + node.Name.str() + " " + what);
    }

    void putU16(std::uint32_t v) {
        out_.push_back(static_cast<unsigned char>(v));
        out_.push_back(static_cast<unsigned char>(v >> 8));
    }
    void putU32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i) out_.push_back(static_cast<unsigned char>(v >> (8 * i)));
    }
    void putUnits(const std::u16string& units) {
        for (char16_t u : units) putU16(u);
    }

    static bool fits(const Slot& slot, const clsReader& child) {
        const BlockRule* rule = binary::ruleForName(child.Name.view());
        if (!rule) return false;
        for (std::uint16_t token : slot.blocks)
            if (token == rule->token) return true;
        return false;
    }

    void block(const clsReader& node, const BlockRule& rule, int depth) {
        if (!rule.known) fail(node, "has no binary form");
        if (depth >= kMaxDepth) fail(node, "is nested too deeply");
        const std::size_t start = out_.size();
        putU16(rule.token);
        putU16(0);
        putU32(0);  // the length, once known
        const std::u16string label = toUtf16(unquoted(node.Text().view()));
        if (label.size() > 255) fail(node, "has a label longer than 255 characters");
        out_.push_back(static_cast<unsigned char>(label.size()));
        putUnits(label);

        ItemCursor items(node);
        for (const Slot& slot : rule.slots) {
            const bool isBlock = slot.type == SlotType::Block;
            auto present = [&] {
                if (items.done()) return false;
                const clsReader* child = items.child();
                return isBlock ? child && fits(slot, *child) : !child;
            };
            if (slot.count == SlotCount::One && !present()) {
                if (items.done()) fail(node, "ends before all of its contents (value " +
                                                 std::to_string(items.valueNumber()) + ")");
                fail(node, "holds " + quoted(items.value().view()) + " (value " +
                               std::to_string(items.valueNumber()) + ") where its rules have " +
                               (isBlock ? "a block" : "a value"));
            }
            do {
                if (!present()) break;
                if (isBlock)
                    block(*items.child(), *binary::ruleForName(items.child()->Name.view()), depth + 1);
                else
                    value(node, slot.type, items.value().view(), items.valueNumber());
                items.step();
            } while (slot.count == SlotCount::Repeated);
        }
        if (!items.done())
            fail(node, "holds " + quoted(items.value().view()) + " (value " + std::to_string(items.valueNumber()) +
                           ") past the end of its contents");
        const std::size_t length = out_.size() - start - 8;
        if (length > std::numeric_limits<std::uint32_t>::max()) fail(node, "is longer than 4 GiB");
        for (int i = 0; i < 4; ++i) out_[start + 4 + static_cast<std::size_t>(i)] = static_cast<unsigned char>(length >> (8 * i));
    }

    void value(const clsReader& node, SlotType type, std::string_view text, std::size_t number) {
        auto bad = [&](const char* what) {
            fail(node, "value " + std::to_string(number) + " " + quoted(text) + " is not " + what);
        };
        switch (type) {
            case SlotType::U32:
            case SlotType::I32:
            case SlotType::Hex: {
                const int base = type == SlotType::Hex ? 16 : 10;
                if (text.empty() || text.front() == '+' || (text.front() == '-' && type != SlotType::I32) ||
                    (type == SlotType::Hex && text.size() > 8))
                    bad(type == SlotType::Hex ? "8 hex digits" : "a whole number within 32 bits");
                std::int64_t v = 0;
                const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v, base);
                const bool inRange = type == SlotType::I32 ? v >= std::numeric_limits<std::int32_t>::min() &&
                                                                 v <= std::numeric_limits<std::int32_t>::max()
                                                           : v >= 0 && v <= std::numeric_limits<std::uint32_t>::max();
                if (ec != std::errc() || end != text.data() + text.size() || !inRange)
                    bad(type == SlotType::Hex ? "8 hex digits" : "a whole number within 32 bits");
                putU32(static_cast<std::uint32_t>(v));
                return;
            }
            case SlotType::F32: {
                const std::optional<float> single = toSingle(text);
                if (!single) bad("a single-precision number");
                std::uint32_t bits;
                std::memcpy(&bits, &*single, sizeof bits);
                putU32(bits);
                return;
            }
            case SlotType::String: {
                // A quoted value is stored without its quotes: blanks and
                // parentheses inside are the string's own.
                const bool wasQuoted = isQuoted(text);
                const std::u16string units = toUtf16(unquoted(text));
                const bool bad16 = wasQuoted ? units.find_first_of(u"\r\n\"") != std::u16string::npos
                                             : units.empty() || units.front() == u'"' ||
                                                   units.find_first_of(u" \t\r\n()") != std::u16string::npos;
                if (bad16 || units.size() > 0xFFFF) bad("a word the binary form can hold");
                putU16(static_cast<std::uint32_t>(units.size()));
                putUnits(units);
                return;
            }
            case SlotType::Block: break;
        }
    }

    std::vector<unsigned char> out_;
};

}  // namespace

std::vector<unsigned char> binaryShapeTokens(const clsReader& root) { return TokenEncoder().encode(root); }

std::vector<unsigned char> compressedShape(const std::vector<unsigned char>& tokens) {
    if (tokens.size() > std::numeric_limits<std::uint32_t>::max())
        throw ShapeError("the shape is too large for the compressed form");
    uLongf size = compressBound(static_cast<uLong>(tokens.size()));
    std::vector<unsigned char> file(16 + size);
    const char header[] = "SIMISA@F\0\0\0\0@@@@";
    std::memcpy(file.data(), header, 16);
    for (int i = 0; i < 4; ++i) file[8 + static_cast<std::size_t>(i)] = static_cast<unsigned char>(tokens.size() >> (8 * i));
    if (compress2(file.data() + 16, &size, tokens.data(), static_cast<uLong>(tokens.size()), Z_DEFAULT_COMPRESSION) != Z_OK)
        throw std::bad_alloc();
    file.resize(16 + size);
    return file;
}

}  // namespace orvane

#include "document/block_layout.h"

#include "document/numbers.h"
#include "document/shape_error.h"

namespace orvane::blocks {

namespace {

std::string_view valueOrThrow(const clsReader& block, std::size_t n) {
    const StringList& values = block.Strings();
    if (n < 1 || n > values.size())
        throw ShapeError("block \"" + block.Name.str() + "\" has no value " + std::to_string(n) + " (it has " +
                         std::to_string(values.size()) + ")");
    return values[n - 1].view();
}

std::string shown(std::string_view text) {
    constexpr std::size_t kMax = 40;
    if (text.size() <= kMax) return std::string(text);
    return std::string(text.substr(0, kMax)) + "...";
}

}  // namespace

std::int32_t wholeValue(const clsReader& block, std::size_t n) {
    std::string_view text = valueOrThrow(block, n);
    auto number = toWholeNumber(text);
    if (!number)
        throw ShapeError("value " + std::to_string(n) + " of block \"" + block.Name.str() + "\" (\"" + shown(text) +
                         "\") is not a whole number within 32 bits");
    return *number;
}

float singleValue(const clsReader& block, std::size_t n) {
    std::string_view text = valueOrThrow(block, n);
    auto number = toSingle(text);
    if (!number)
        throw ShapeError("value " + std::to_string(n) + " of block \"" + block.Name.str() + "\" (\"" + shown(text) +
                         "\") is not a number");
    return *number;
}

const NodePtr requireChild(const clsReader& block, std::string_view name) {
    NodePtr child = block.Find(name);
    if (!child) throw ShapeError("block \"" + block.Name.str() + "\" has no \"" + std::string(name) + "\" block");
    return child;
}

const NodePtr& numbered(const clsReader& block, std::int64_t number, std::string_view what) {
    const NodeList& children = block.Nodes();
    if (number < 0 || static_cast<std::uint64_t>(number) >= children.size())
        throw ShapeError(std::string(what) + " " + std::to_string(number) + " is beyond the " +
                         std::to_string(children.size()) + " entries of \"" + block.Name.str() + "\"");
    return children[static_cast<std::size_t>(number)];
}

}  // namespace orvane::blocks

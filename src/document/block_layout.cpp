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

namespace {

std::string placeSuffix(const std::string& place) { return place.empty() ? std::string() : " of " + place; }

}  // namespace

std::string quoted(std::string_view text) {
    std::string out(1, '"');
    out += shown(text);
    out += '"';
    return out;
}

void throwMissingValue(const clsReader& block, std::size_t n, std::string_view what, const std::string& place) {
    throw ShapeError(std::string(what) + " (value " + std::to_string(n) + " of " + block.Name.str() + ")" +
                     placeSuffix(place) + " is missing");
}

void throwBadValue(const clsReader& block, std::size_t n, std::string_view what, const std::string& place,
                   std::string_view expected) {
    std::string_view text = block.Strings().at(n - 1).view();
    throw ShapeError(std::string(what) + " " + quoted(text) + " (value " + std::to_string(n) + " of " +
                     block.Name.str() + ")" + placeSuffix(place) + " is not " + std::string(expected));
}

const NodePtr requireChild(const clsReader& block, std::string_view name) {
    NodePtr child = block.Find(name);
    if (!child) throw ShapeError("block \"" + block.Name.str() + "\" has no \"" + std::string(name) + "\" block");
    return child;
}

const NodePtr& numbered(const clsReader& block, std::int64_t number, std::string_view what) {
    const NodeList& children = block.Nodes();
    if (number < 0 || static_cast<std::uint64_t>(number) >= children.size())
        throw ShapeError(std::string(what) + " " + std::to_string(number) +
                         (number < 0 ? " is not one of the " : " is beyond the ") + std::to_string(children.size()) +
                         " entries of \"" + block.Name.str() + "\"");
    return children[static_cast<std::size_t>(number)];
}

}  // namespace orvane::blocks

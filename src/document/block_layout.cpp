#include "document/block_layout.h"

#include "document/shape_error.h"

namespace orvane::blocks {

std::int32_t wholeValue(const clsReader& block, std::size_t n) {
    return wholeValue(block, n, {}, [] { return std::string(); });
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

#include "document/tree_edit.h"

#include <algorithm>
#include <utility>

#include "document/shape_error.h"
#include "document/value_errors.h"

namespace orvane {

namespace {

// Worded like a missing value (value_errors.h).
[[noreturn]] void throwMissingChild(const clsReader& node, std::size_t i) {
    throw ShapeError("child " + std::to_string(i) + " of " + node.Name.str() + " is missing");
}

// Whether pos is a place to insert at in a list of count items.
bool insertable(std::size_t pos, std::size_t count) { return pos >= 1 && pos <= count + 1; }

}  // namespace

std::size_t valueCount(const clsReader& node) { return node.Strings().size(); }

std::string_view valueAt(const clsReader& node, std::size_t n) {
    const StringList& values = node.Strings();
    if (n < 1 || n > values.size()) throwMissingValue(node, n);
    return values[n - 1].view();
}

void insertValue(clsReader& node, std::size_t n, ShapeText text) {
    StringList& values = node.Strings();
    if (!insertable(n, values.size())) throwMissingValue(node, n);
    values.insert(values.begin() + static_cast<std::ptrdiff_t>(n - 1), std::move(text));
}

void removeValue(clsReader& node, std::size_t n) {
    StringList& values = node.Strings();
    if (n < 1 || n > values.size()) throwMissingValue(node, n);
    values.erase(values.begin() + static_cast<std::ptrdiff_t>(n - 1));
}

void replaceValue(clsReader& node, std::size_t n, ShapeText text) {
    StringList& values = node.Strings();
    if (n < 1 || n > values.size()) throwMissingValue(node, n);
    values[n - 1] = std::move(text);
}

void appendValue(clsReader& node, ShapeText text) { node.Strings().push_back(std::move(text)); }

void truncateValues(clsReader& node, std::size_t n) {
    StringList& values = node.Strings();
    if (values.size() > n) values.erase(values.begin() + static_cast<std::ptrdiff_t>(n), values.end());
}

const NodePtr& childAt(const clsReader& node, std::size_t i) {
    const NodeList& children = node.Nodes();
    if (i < 1 || i > children.size()) throwMissingChild(node, i);
    return children[i - 1];
}

void insertChild(clsReader& parent, std::size_t childPos, NodePtr child, std::size_t valuePos) {
    NodeList& children = parent.Nodes();
    if (!insertable(childPos, children.size())) throwMissingChild(parent, childPos);
    if (!insertable(valuePos, parent.Strings().size())) throwMissingValue(parent, valuePos);
    child->SetParent(&parent);
    ShapeText placeholder = child->Name;
    children.insert(children.begin() + static_cast<std::ptrdiff_t>(childPos - 1), std::move(child));
    StringList& values = parent.Strings();
    values.insert(values.begin() + static_cast<std::ptrdiff_t>(valuePos - 1), std::move(placeholder));
}

void removeChild(clsReader& parent, std::size_t childPos, std::size_t valuePos) {
    NodeList& children = parent.Nodes();
    if (childPos < 1 || childPos > children.size()) throwMissingChild(parent, childPos);
    StringList& values = parent.Strings();
    if (valuePos < 1 || valuePos > values.size()) throwMissingValue(parent, valuePos);
    children.erase(children.begin() + static_cast<std::ptrdiff_t>(childPos - 1));
    values.erase(values.begin() + static_cast<std::ptrdiff_t>(valuePos - 1));
}

void appendChild(clsReader& parent, NodePtr child) {
    child->SetParent(&parent);
    parent.Strings().push_back(child->Name);
    parent.Nodes().push_back(std::move(child));
}

void reserveAppends(clsReader& parent, std::size_t children, std::size_t values) {
    parent.Strings().reserve(parent.Strings().size() + children + values);
    // Asking a leaf for its child list would give it one it does not need.
    if (children > 0) parent.Nodes().reserve(parent.Nodes().size() + children);
}

std::size_t placeholderPosition(const clsReader& parent, std::size_t childPos) {
    for (PlaceholderWalk walk(parent); walk.next();)
        if (walk.child() && walk.placed() == childPos) return walk.valuePos();
    return 0;
}

void removeChildWithPlaceholder(clsReader& parent, std::size_t childPos) {
    std::size_t valuePos = placeholderPosition(parent, childPos);
    if (valuePos == 0)
        throw ShapeError("child " + std::to_string(childPos) + " of block \"" + parent.Name.str() +
                         "\" has no placeholder");
    removeChild(parent, childPos, valuePos);
}

void removeCountedChildRange(clsReader& block, std::size_t first, std::size_t last) {
    if (last < first) return;
    NodeList& children = block.Nodes();
    StringList& values = block.Strings();
    if (first < 1 || last > children.size()) throwMissingChild(block, last);
    if (last + 1 > values.size()) throwMissingValue(block, last + 1);
    children.erase(children.begin() + static_cast<std::ptrdiff_t>(first - 1),
                   children.begin() + static_cast<std::ptrdiff_t>(last));
    values.erase(values.begin() + static_cast<std::ptrdiff_t>(first), values.begin() + static_cast<std::ptrdiff_t>(last + 1));
}

void removeCountedChildren(clsReader& block, const std::vector<bool>& removeMask) {
    NodeList& children = block.Nodes();
    StringList& values = block.Strings();
    std::size_t last = 0;  // highest child to remove, 1-based
    for (std::size_t i = 0; i < removeMask.size(); ++i)
        if (removeMask[i]) last = i + 1;
    if (last == 0) return;
    if (last > children.size()) throwMissingChild(block, last);
    if (last + 1 > values.size()) throwMissingValue(block, last + 1);
    auto removed = [&](std::size_t child0) { return child0 < removeMask.size() && removeMask[child0]; };
    std::size_t out = 0;
    for (std::size_t i = 0; i < children.size(); ++i)
        if (!removed(i)) children[out++] = std::move(children[i]);
    children.resize(out);
    // Value v (0-based) is the placeholder of child v - 1 for v >= 1.
    out = 0;
    for (std::size_t v = 0; v < values.size(); ++v)
        if (v == 0 || !removed(v - 1)) {
            if (out != v) values[out] = std::move(values[v]);
            ++out;
        }
    values.resize(out);
}

std::string findMissingPlaceholder(const clsReader& root) {
    // Whether every child of node has its placeholder; else which one lacks it.
    const auto check = [](const clsReader& node) -> std::string {
        PlaceholderWalk walk(node);
        while (!walk.allPlaced() && walk.next()) continue;
        if (walk.allPlaced()) return {};
        const std::size_t next = walk.placed();
        std::string where = "block \"" + node.Name.str() + "\"";
        for (NodePtr up = node.Parent(); up; up = up->Parent()) where += " in \"" + up->Name.str() + "\"";
        return "child " + std::to_string(next + 1) + " (\"" + node.Nodes()[next]->Name.str() + "\") of " + where +
               " has no placeholder";
    };
    // Depth first, in file order; the stack holds one entry per level, so
    // the walk takes no memory for the millions of siblings of a long list.
    struct Level {
        const clsReader* node;
        std::size_t nextChild;
    };
    std::string missing = check(root);
    std::vector<Level> levels{{&root, 0}};
    while (missing.empty() && !levels.empty()) {
        Level& level = levels.back();
        const NodeList& children = level.node->Nodes();
        if (level.nextChild == children.size()) {
            levels.pop_back();
            continue;
        }
        const clsReader* child = children[level.nextChild++].get();
        missing = check(*child);
        levels.push_back({child, 0});
    }
    return missing;
}

}  // namespace orvane

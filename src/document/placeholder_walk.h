#pragma once
// The placeholder walk: a block's values in order, each paired with the
// next child still to be placed when the value is that child's placeholder.
// Copying, checking and editing a block all pair values and children this way.

#include <cstddef>

#include "document/cls_reader.h"

namespace orvane {

// Whether item stands for child in the placeholder walk. An empty item never
// does: a block without a name written out reads back without a placeholder
// (the reader never stores an empty item before "("), so treating one as
// placed would let a write-and-read cycle drop the child.
inline bool isPlaceholderOf(const ShapeText& item, const clsReader& child) {
    return !item.empty() && item == child.Name;
}

// for (PlaceholderWalk walk(block); walk.next();) visits every value once.
class PlaceholderWalk {
public:
    explicit PlaceholderWalk(const clsReader& block) : values_(block.Strings()), children_(block.Nodes()) {}

    // Steps to the next value; false when no value is left.
    bool next() {
        if (valuePos_ == values_.size()) return false;
        const ShapeText& item = values_[valuePos_++];
        child_ = nullptr;
        if (placed_ < children_.size() && isPlaceholderOf(item, *children_[placed_])) child_ = &children_[placed_++];
        return true;
    }

    // The current value and its position (1-based).
    const ShapeText& value() const { return values_[valuePos_ - 1]; }
    std::size_t valuePos() const { return valuePos_; }
    // The child the current value is the placeholder of, or null for a plain
    // value; that child is child placed().
    const NodePtr* child() const { return child_; }
    // How many children have met their placeholder so far.
    std::size_t placed() const { return placed_; }
    // Whether every child has met its placeholder.
    bool allPlaced() const { return placed_ == children_.size(); }

private:
    const StringList& values_;
    const NodeList& children_;
    std::size_t valuePos_ = 0;
    std::size_t placed_ = 0;
    const NodePtr* child_ = nullptr;
};

}  // namespace orvane

#pragma once
// The few edits every repair makes to the tree. Each keeps the placeholder
// invariant: a child and its placeholder in the parent's Strings are added,
// removed or moved together. Positions are 1-based ("child i", "value n").
// Bulk edits work in one pass, so editing a long list stays linear.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "document/cls_reader.h"
#include "document/placeholder_walk.h"

namespace orvane {

// --- values -------------------------------------------------------------
std::size_t valueCount(const clsReader& node);
// Value n; throws ShapeError when the block has fewer than n values.
std::string_view valueAt(const clsReader& node, std::size_t n);
void insertValue(clsReader& node, std::size_t n, ShapeText text);  // becomes value n
void removeValue(clsReader& node, std::size_t n);
void replaceValue(clsReader& node, std::size_t n, ShapeText text);   // keeps position n
void appendValue(clsReader& node, ShapeText text);
// Keeps values 1..n, drops the rest.
void truncateValues(clsReader& node, std::size_t n);

// --- children with their placeholders ------------------------------------
// Child i; throws ShapeError when the block has fewer than i children.
const NodePtr& childAt(const clsReader& node, std::size_t i);
// Inserts child so that it becomes child `childPos`, and its placeholder
// (its Name) so that it becomes value `valuePos`; sets its Parent.
void insertChild(clsReader& parent, std::size_t childPos, NodePtr child, std::size_t valuePos);
// Removes child `childPos` and value `valuePos` (its placeholder).
void removeChild(clsReader& parent, std::size_t childPos, std::size_t valuePos);
// Appends child and its placeholder at the end; sets its Parent.
void appendChild(clsReader& parent, NodePtr child);
// Makes room for `children` more children with their placeholders and
// `values` more values, so that appending a known number of them takes
// exactly the memory they need.
void reserveAppends(clsReader& parent, std::size_t children, std::size_t values = 0);
// Value position of child i's placeholder found by the placeholder walk,
// or 0 when child i has none.
std::size_t placeholderPosition(const clsReader& parent, std::size_t childPos);
// Removes child i and the placeholder the walk finds for it.
void removeChildWithPlaceholder(clsReader& parent, std::size_t childPos);

// --- counted blocks: value 1 is the count, child i's placeholder is value i + 1
// Removes children first..last (inclusive) with values first+1..last+1.
void removeCountedChildRange(clsReader& block, std::size_t first, std::size_t last);
// Removes every child i with removeMask[i - 1] set, with value i + 1, in one pass.
void removeCountedChildren(clsReader& block, const std::vector<bool>& removeMask);

// --- whole tree ----------------------------------------------------------
// Walks the whole tree (without recursion) and checks that every child has
// its placeholder. Returns an empty text when all do, else a description of
// the first block whose child has none.
std::string findMissingPlaceholder(const clsReader& root);

}  // namespace orvane

#include "document/tree_edit.h"

#include <gtest/gtest.h>

#include "document/cls_reader.h"
#include "document/shape_error.h"
#include "support/tree_helpers.h"

using namespace orvane;
using orvane::test::childNames;
using orvane::test::removeCountedChild;
using orvane::test::valuesOf;

namespace {

// A counted block "list" with count n and children c1..cn.
NodePtr countedBlock(int n) {
    NodePtr block = clsReader::create("list");
    appendValue(*block, std::to_string(n));
    for (int i = 1; i <= n; ++i) appendChild(*block, clsReader::create(std::string("c").append(std::to_string(i))));
    return block;
}

}  // namespace

TEST(ShapeNode, FindTakesFirstExactDirectChild) {
    NodePtr root = clsReader::create("shape");
    NodePtr a1 = clsReader::create("A");
    NodePtr b = clsReader::create("B");
    NodePtr a2 = clsReader::create("A");
    appendChild(*root, a1);
    appendChild(*root, b);
    appendChild(*root, a2);
    appendChild(*b, clsReader::create("deep"));
    EXPECT_EQ(root->Find("A"), a1);
    EXPECT_EQ(root->Find("a"), nullptr);
    EXPECT_EQ(root->Find("deep"), nullptr);
    EXPECT_EQ(root->Find("shape"), nullptr);
    EXPECT_EQ(clsReader::create()->Find("A"), nullptr);
}

TEST(ShapeNode, ParentIndexByIdentity) {
    NodePtr root = clsReader::create("shape");
    NodePtr first = clsReader::create("x");
    NodePtr twin = clsReader::create("x");
    appendChild(*root, first);
    appendChild(*root, twin);
    EXPECT_EQ(first->ParentIndex(), 1);
    EXPECT_EQ(twin->ParentIndex(), 2);
    removeChild(*root, 1, 1);
    EXPECT_EQ(first->ParentIndex(), -1);
    EXPECT_EQ(first->Parent(), root);  // still points at the old parent
    EXPECT_EQ(twin->ParentIndex(), 1);
    EXPECT_EQ(clsReader::create()->ParentIndex(), -1);  // no parent: no crash
}

TEST(ShapeNode, ParentReadsNoneOnceReleased) {
    NodePtr child = clsReader::create("c");
    {
        NodePtr parent = clsReader::create("p");
        appendChild(*parent, child);
        EXPECT_EQ(child->Parent(), parent);
    }
    EXPECT_EQ(child->Parent(), nullptr);
    EXPECT_EQ(child->ParentIndex(), -1);
}

TEST(ShapeNode, AssignedListsAreShared) {
    NodePtr a = clsReader::create("a");
    NodePtr b = clsReader::create("b");
    b->SetStrings(a->SharedStrings());
    b->SetNodes(a->SharedNodes());
    appendValue(*a, "1");
    a->Nodes().push_back(clsReader::create("k"));
    EXPECT_EQ(valuesOf(*b), (std::vector<std::string>{"1"}));
    ASSERT_EQ(b->Nodes().size(), 1u);
    EXPECT_EQ(b->Nodes()[0]->Name, "k");
}

TEST(TreeEdit, ValueEditsKeepOtherPositions) {
    NodePtr n = clsReader::create("v");
    for (const char* v : {"a", "b", "c"}) appendValue(*n, v);
    insertValue(*n, 2, "x");
    EXPECT_EQ(valuesOf(*n), (std::vector<std::string>{"a", "x", "b", "c"}));
    removeValue(*n, 1);
    replaceValue(*n, 3, "long value of more than fifteen bytes");
    EXPECT_EQ(valuesOf(*n), (std::vector<std::string>{"x", "b", "long value of more than fifteen bytes"}));
    insertValue(*n, 4, "end");  // one past the last is allowed
    truncateValues(*n, 2);
    EXPECT_EQ(valuesOf(*n), (std::vector<std::string>{"x", "b"}));
    EXPECT_THROW(removeValue(*n, 3), ShapeError);
    EXPECT_THROW(insertValue(*n, 4, "z"), ShapeError);
    EXPECT_THROW((void)valueAt(*n, 0), ShapeError);
    EXPECT_EQ(valueAt(*n, 2), "b");
}

TEST(TreeEdit, ChildAndPlaceholderMoveTogether) {
    NodePtr root = clsReader::create("r");
    appendValue(*root, "7");
    appendChild(*root, clsReader::create("A"));
    appendValue(*root, "tail");
    NodePtr b = clsReader::create("B");
    insertChild(*root, 2, b, 4);
    EXPECT_EQ(valuesOf(*root), (std::vector<std::string>{"7", "A", "tail", "B"}));
    EXPECT_EQ(childNames(*root), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(b->Parent(), root);
    EXPECT_EQ(placeholderPosition(*root, 2), 4u);
    removeChildWithPlaceholder(*root, 1);
    EXPECT_EQ(valuesOf(*root), (std::vector<std::string>{"7", "tail", "B"}));
    EXPECT_EQ(childNames(*root), (std::vector<std::string>{"B"}));
}

TEST(TreeEdit, PlaceholderWalkSkipsValuesThatMatchALaterChild) {
    // "B" stands before A's placeholder: it is a value, not B's placeholder.
    NodePtr root = clsReader::create("r");
    appendValue(*root, "B");
    appendChild(*root, clsReader::create("A"));
    appendChild(*root, clsReader::create("B"));
    EXPECT_EQ(placeholderPosition(*root, 1), 2u);
    EXPECT_EQ(placeholderPosition(*root, 2), 3u);
    root->Strings().pop_back();
    EXPECT_EQ(placeholderPosition(*root, 2), 0u);
    EXPECT_THROW(removeChildWithPlaceholder(*root, 2), ShapeError);
}

TEST(TreeEdit, CountedBlockEdits) {
    NodePtr block = countedBlock(5);
    insertChild(*block, 3, clsReader::create("new"), 4);
    EXPECT_EQ(childNames(*block), (std::vector<std::string>{"c1", "c2", "new", "c3", "c4", "c5"}));
    EXPECT_EQ(valuesOf(*block), (std::vector<std::string>{"5", "c1", "c2", "new", "c3", "c4", "c5"}));
    removeCountedChild(*block, 1);
    removeCountedChildRange(*block, 2, 3);
    EXPECT_EQ(childNames(*block), (std::vector<std::string>{"c2", "c4", "c5"}));
    EXPECT_EQ(valuesOf(*block), (std::vector<std::string>{"5", "c2", "c4", "c5"}));
    removeCountedChildRange(*block, 3, 2);  // empty range: nothing happens
    EXPECT_EQ(block->Nodes().size(), 3u);
    EXPECT_THROW(removeCountedChildRange(*block, 2, 4), ShapeError);
}

TEST(TreeEdit, MaskedRemovalMatchesOneByOneRemoval) {
    NodePtr bulk = countedBlock(8);
    NodePtr single = countedBlock(8);
    std::vector<bool> mask{true, false, false, true, true, false, false, true};
    removeCountedChildren(*bulk, mask);
    for (std::size_t i = mask.size(); i >= 1; --i)
        if (mask[i - 1]) removeCountedChild(*single, i);
    EXPECT_EQ(childNames(*bulk), childNames(*single));
    EXPECT_EQ(valuesOf(*bulk), valuesOf(*single));
    EXPECT_EQ(childNames(*bulk), (std::vector<std::string>{"c2", "c3", "c6", "c7"}));
    // A mask shorter than the children leaves the rest alone.
    removeCountedChildren(*bulk, {false, true});
    EXPECT_EQ(childNames(*bulk), (std::vector<std::string>{"c2", "c6", "c7"}));
    EXPECT_THROW(removeCountedChildren(*bulk, {false, false, false, true}), ShapeError);
}

TEST(TreeEdit, MissingPlaceholderIsFoundAnywhere) {
    NodePtr root = clsReader::create("shape");
    NodePtr outer = clsReader::create("outer");
    appendChild(*root, outer);
    appendChild(*outer, clsReader::create("inner"));
    EXPECT_EQ(findMissingPlaceholder(*root), "");
    outer->Nodes().push_back(clsReader::create("orphan"));
    std::string found = findMissingPlaceholder(*root);
    EXPECT_NE(found.find("orphan"), std::string::npos) << found;
    EXPECT_NE(found.find("outer"), std::string::npos) << found;
}

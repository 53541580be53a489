// Navigating the node tree: Find, ParentIndex, Parent and shared lists.

#include <gtest/gtest.h>

#include <thread>

#include "document/cls_reader.h"
#include "support/tree_helpers.h"
#include "support/shape_files.h"

using namespace orvane;
using namespace orvane::test;

namespace {

TEST(ShapeNodeFind, AnswersTheFirstDirectChildOfExactlyThatName) {
    NodePtr root = readShape("shape ( A ( 1 ) B ( deep ( ) ) A ( 2 ) )");
    NodePtr a = root->Find("A");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a, root->Nodes()[0]);
    EXPECT_EQ(root->Find("a"), nullptr);      // letter case counts
    EXPECT_EQ(root->Find("A "), nullptr);     // no trimming
    EXPECT_EQ(root->Find("deep"), nullptr);   // grandchildren are not searched
    EXPECT_EQ(root->Find("shape"), nullptr);  // nor the node itself
    EXPECT_EQ(root->Nodes()[2]->Find("A"), nullptr);
}

TEST(ShapeNodeParentIndex, PositionOfTheVeryNodeInItsParent) {
    NodePtr root = readShape("shape ( a ( ) a ( ) b ( ) )");
    EXPECT_EQ(root->Nodes()[0]->ParentIndex(), 1);
    EXPECT_EQ(root->Nodes()[1]->ParentIndex(), 2);  // found by identity, not by name
    EXPECT_EQ(root->Nodes()[2]->ParentIndex(), 3);

    NodePtr removed = root->Nodes()[1];
    root->Nodes().erase(root->Nodes().begin() + 1);
    EXPECT_EQ(removed->ParentIndex(), -1);
    EXPECT_EQ(removed->Parent(), root);
    EXPECT_EQ(root->ParentIndex(), -1);  // no parent: answered without crashing
}

TEST(ShapeNodeParent, ReadsAsNoneOnceTheParentIsReleased) {
    NodePtr root = readShape("shape ( a ( b ( ) ) c ( d ( ) ) )");
    NodePtr a = root->Nodes()[0];
    NodePtr d = root->Nodes()[1]->Nodes()[0];
    root.reset();
    EXPECT_EQ(a->Parent(), nullptr);  // the root went: nothing else held it
    EXPECT_EQ(a->Nodes()[0]->Parent(), a);
    EXPECT_EQ(d->Parent(), nullptr);  // c went with the root's list
}

TEST(ShapeNodeLists, AssignedListsAreShared) {
    NodePtr root = readShape("shape ( a ( 1 2 ) )");
    NodePtr copy = clsReader::create("a");
    copy->SetStrings(root->Nodes()[0]->SharedStrings());
    copy->Strings().push_back("3");
    EXPECT_EQ(valuesOf(*root->Nodes()[0]), (std::vector<std::string>{"1", "2", "3"}));

    NodePtr leaf = root->Nodes()[0];
    NodePtr other = clsReader::create("x");
    other->SetNodes(leaf->SharedNodes());  // a leaf's list exists once asked for
    other->Nodes().push_back(clsReader::create("c"));
    EXPECT_EQ(leaf->Nodes().size(), 1u);
}

TEST(ShapeNodeLabel, IsKeptApartFromTheListsAndClearsToNone) {
    NodePtr root = readShape("shape ( a ( 1 ) )");
    NodePtr leaf = root->Nodes()[0];
    leaf->SetText("rail_side");
    leaf->SetStrings(root->SharedStrings());  // the label and a shared list live side by side
    EXPECT_EQ(leaf->Text(), "rail_side");
    EXPECT_TRUE(leaf->Nodes().empty());
    leaf->SetText("");
    EXPECT_TRUE(leaf->Text().empty());
    EXPECT_EQ(leaf->Strings(), root->Strings());
    EXPECT_TRUE(clsReader::create("x")->Text().empty());
}

TEST(ShapeNodeMemory, TreesMadeOnOneThreadAreReleasedAndRemadeOnOthers) {
    const std::string body = "shape ( a ( 1 2 b ( 3 ) ) c ( 4 ) )";
    NodePtr made;
    std::thread([&] { made = readShape(body); }).join();
    std::thread([&] { made.reset(); }).join();  // that thread's free slots outlive it
    for (int i = 0; i < 3; ++i) {
        NodePtr again;
        std::thread([&] { again = readShape(body); }).join();
        EXPECT_EQ(treeDifference(*again, *readShape(body)), "");
    }
}

}  // namespace

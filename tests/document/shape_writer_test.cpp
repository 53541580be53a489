// The layout the writer gives a tree: heads, indentation, closes, long
// lines, placeholders, progress and the bytes at both ends of the file.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/cls_reader.h"
#include "document/tree_edit.h"
#include "support/tree_helpers.h"
#include "support/shape_files.h"

using namespace orvane;
using namespace orvane::test;

namespace {

NodePtr block(std::string_view name, std::vector<std::string> values = {}) {
    NodePtr node = clsReader::create(name);
    for (const std::string& v : values) appendValue(*node, v);
    return node;
}

NodePtr rootWith(std::vector<NodePtr> children) {
    NodePtr root = block("shape");
    root->SetHeader(std::string(kHeader));
    for (NodePtr& child : children) appendChild(*root, std::move(child));
    return root;
}

class ShapeWriterLayout : public ::testing::Test {
protected:
    // The written text after the header line.
    std::string written(clsReader& root) {
        root.SaveFile(dir_ / "out.s");
        const std::string text = decodedFile(dir_ / "out.s");
        const std::string head = root.Header() + "\r\n";
        EXPECT_EQ(text.substr(0, head.size()), head);
        return text.substr(head.size());
    }
    TempDir dir_;
};

TEST_F(ShapeWriterLayout, ChildlessRootClosesOnItsHeadLine) {
    NodePtr root = block("shape");
    root->SetHeader("SIMISA@@@@@@ header \xC3\xA4\xE2\x82\xAC kept as is");
    EXPECT_EQ(written(*root), "\r\nshape ( )");
    root = block("shape", {"1", "2"});
    EXPECT_EQ(written(*root), "\r\nshape ( 1 2 )");
}

TEST_F(ShapeWriterLayout, ValuesOnTheHeadLineAndIndentedBlocks) {
    NodePtr a = block("A", {"1", "2"});
    NodePtr x = block("X");
    appendChild(*x, a);
    NodePtr root = rootWith({x});
    EXPECT_EQ(written(*root), "\r\nshape (\r\n\tX (\r\n\t\tA ( 1 2 )\r\n\t)\r\n)");
}

TEST_F(ShapeWriterLayout, LabelAfterTheNameAndValuesAfterAChildOnItsCloseLine) {
    NodePtr k = block("K", {"3"});
    k->SetText(ShapeText("M"));
    appendChild(*k, block("N", {"4"}));
    appendValue(*k, "\"quoted (x)\"");
    NodePtr root = rootWith({k});
    EXPECT_EQ(written(*root), "\r\nshape (\r\n\tK M ( 3\r\n\t\tN ( 4 ) \"quoted (x)\"\r\n\t)\r\n)");
}

TEST_F(ShapeWriterLayout, LongLinesContinueAfterAThousandCharacters) {
    // "\tv (" is 4 characters and every " 12" 3 more: before value 333 the
    // line holds exactly 1000 characters.
    NodePtr v = block("v", std::vector<std::string>(340, "12"));
    NodePtr root = rootWith({v});
    const std::string text = written(*root);
    std::string expected = "\r\n\tv (";
    for (int i = 0; i < 332; ++i) expected += " 12";
    expected += "\r\n\t";
    for (int i = 332; i < 340; ++i) expected += " 12";
    expected += " )\r\n)";
    EXPECT_EQ(text, "\r\nshape (" + expected);
}

TEST_F(ShapeWriterLayout, ChildAfterALongLineStartsBelowALineOfTabsOnly) {
    NodePtr v = block("v", std::vector<std::string>(332, "12"));
    appendChild(*v, block("c", {"1"}));
    NodePtr root = rootWith({v});
    std::string expected = "\r\nshape (\r\n\tv (";
    for (int i = 0; i < 332; ++i) expected += " 12";
    expected += "\r\n\t\r\n\t\tc ( 1 )\r\n\t)\r\n)";
    EXPECT_EQ(written(*root), expected);
}

TEST_F(ShapeWriterLayout, ChildWithoutPlaceholderAndTheChildrenAfterItAreNotWritten) {
    NodePtr root = rootWith({block("a"), block("b"), block("c")});
    root->Strings() = {"a", "c"};  // b lost its placeholder
    EXPECT_EQ(written(*root), "\r\nshape (\r\n\ta ( ) c\r\n)");
}

TEST_F(ShapeWriterLayout, ValueEqualToTheNextChildsNameIsTakenAsItsPlaceholder) {
    NodePtr root = rootWith({block("b", {"1"})});
    root->Strings() = {"b", "b"};
    EXPECT_EQ(written(*root), "\r\nshape (\r\n\tb ( 1 ) b\r\n)");
}

TEST_F(ShapeWriterLayout, FileStartsWithTheByteOrderMarkAndEndsWithTheClose) {
    NodePtr root = rootWith({block("a", {"1"})});
    root->SaveFile(dir_ / "out.s");
    const std::string bytes = readBytes(dir_ / "out.s");
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(bytes.substr(bytes.size() - 2), std::string(")\0", 2));
}

TEST_F(ShapeWriterLayout, ProgressOncePerTopLevelBlock) {
    NodePtr inner = block("inner");
    appendChild(*inner, block("deeper"));
    NodePtr root = rootWith({block("a"), inner, block("c"), block("d")});
    std::vector<float> events;
    root->SetProgressListener([&](float f) { events.push_back(f); });
    root->SaveFile(dir_ / "out.s");
    EXPECT_EQ(events, (std::vector<float>{0.25f, 0.5f, 0.75f, 1.0f}));
}

TEST_F(ShapeWriterLayout, EveryPercentFollowsTheBytesWrittenAgainstTheTextRead) {
    // One large top-level block: once per top-level block would be one event.
    std::string body = "shape (\r\n\tbig (";
    for (int i = 0; i < 5000; ++i) body += " " + std::to_string(i);
    body += " )\r\n)";
    writeShape(dir_ / "in.s", body);
    NodePtr root = clsReader::create();
    std::vector<float> events;
    root->SetProgressListener([&](float f) { events.push_back(f); }, ReadProgress::EveryPercent);
    root->ReadFile(dir_ / "in.s", true);
    ASSERT_FALSE(root->Nodes().empty());
    events.clear();
    root->SaveFile(dir_ / "out.s");
    ASSERT_GE(events.size(), 90u);
    for (std::size_t i = 1; i < events.size(); ++i) EXPECT_GT(events[i], events[i - 1]);
    EXPECT_LT(events[events.size() - 2], 1.0f) << "100 comes only with the end";
    EXPECT_EQ(events.back(), 1.0f);
}

}  // namespace

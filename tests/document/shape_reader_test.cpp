// How the reader turns shape text into nodes: names, labels, words,
// quoted values, the end of the text and progress.

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "document/cls_reader.h"
#include "generator/shape_generator.h"
#include "support/tree_helpers.h"
#include "support/shape_files.h"

using namespace orvane;
using namespace orvane::test;
using Strings = std::vector<std::string>;

namespace {

TEST(ShapeReaderStructure, BlocksBecomeNodesWithPlaceholdersAndParents) {
    NodePtr root = readShape("shape (\r\n\tpoints ( 2\r\n\t\tpoint ( 1 2 3 )\r\n\t\tpoint ( 4 5 6 )\r\n\t) tail\r\n)");
    EXPECT_EQ(root->Name, "shape");
    EXPECT_EQ(root->Parent(), nullptr);
    EXPECT_EQ(valuesOf(*root), (Strings{"points", "tail"}));
    ASSERT_EQ(root->Nodes().size(), 1u);
    const NodePtr& points = root->Nodes()[0];
    EXPECT_EQ(valuesOf(*points), (Strings{"2", "point", "point"}));
    EXPECT_EQ(points->Parent(), root);
    ASSERT_EQ(points->Nodes().size(), 2u);
    EXPECT_EQ(valuesOf(*points->Nodes()[1]), (Strings{"4", "5", "6"}));
    EXPECT_EQ(points->Nodes()[1]->Parent(), points);
    EXPECT_TRUE(points->Nodes()[1]->Nodes().empty());
}

TEST(ShapeReaderStructure, OutermostNameIsTheLastWordBeforeTheFirstParenthesis) {
    EXPECT_EQ(readShape("some ignored words\r\nshape ( a ( ) )")->Name, "shape");
    EXPECT_EQ(readShape("shape( a ( ) )")->Name, "shape");
    // Trailing spaces go, other blanks between name and "(" stay.
    EXPECT_EQ(readShape("shape   ( a ( ) )")->Name, "shape");
    EXPECT_EQ(readShape("shape\t( a ( ) )")->Name, "shape\t");
    EXPECT_EQ(readShape("shape\r\n( a ( ) )")->Name, "shape\r\n");
    EXPECT_EQ(readShape("x)y ( a ( ) )")->Name, "x)y");
}

TEST(ShapeReaderStructure, WordsEndAtParenthesesWithoutBlanks) {
    NodePtr root = readShape("shape (a(1 2)b(3))");
    EXPECT_EQ(childNames(*root), (Strings{"a", "b"}));
    EXPECT_EQ(valuesOf(*root->Nodes()[0]), (Strings{"1", "2"}));
    EXPECT_EQ(valuesOf(*root->Nodes()[1]), (Strings{"3"}));
}

TEST(ShapeReaderStructure, QuotedValuesAreOneItemWithTheirQuotes) {
    NodePtr root = readShape("shape ( n ( \"a (b) c\" \"line\r\nend\" x\"y z ) )");
    EXPECT_EQ(valuesOf(*root->Nodes()[0]), (Strings{"\"a (b) c\"", "\"line\r\nend\"", "x\"y", "z"}));
    EXPECT_TRUE(root->Nodes()[0]->Nodes().empty());
}

TEST(ShapeReaderStructure, ValuesKeepTheirTextExactly) {
    NodePtr root = readShape("shape ( v ( -0.000 1.50E+02 +7 ff808080 B\xC3\xA4ume.ace \xF0\x9F\x98\x80 ) )");
    EXPECT_EQ(valuesOf(*root->Nodes()[0]),
              (Strings{"-0.000", "1.50E+02", "+7", "ff808080", "B\xC3\xA4ume.ace", "\xF0\x9F\x98\x80"}));
}

TEST(ShapeReaderStructure, SurplusCloseEndsTheInnermostBlockAndTextAfterTheShapeIsIgnored) {
    NodePtr root = readShape("shape ( a ( b ( 1 ) ) ) 2 ) ignored ( 3 )");
    EXPECT_EQ(valuesOf(*root), (Strings{"a"}));
    EXPECT_EQ(childNames(*root->Nodes()[0]), (Strings{"b"}));

    root = readShape("shape ( a ( b ( 1 ) ) 2 )");
    EXPECT_EQ(valuesOf(*root), (Strings{"a", "2"}));
}

TEST(ShapeReaderLabels, NameAndLabelWhenTheWordBeforeIsAName) {
    NodePtr root = readShape("shape ( prim_state rail_side ( 1 ) )");
    ASSERT_EQ(root->Nodes().size(), 1u);
    EXPECT_EQ(root->Nodes()[0]->Name, "prim_state");
    EXPECT_EQ(root->Nodes()[0]->Text(), "rail_side");
    EXPECT_EQ(valuesOf(*root), (Strings{"prim_state"}));
}

TEST(ShapeReaderLabels, NoLabelAfterANumberAnEmptyItemOrAnEightCharacterWord) {
    const std::vector<std::pair<std::string, Strings>> cases = {
        {"shape ( 5 matrix ( ) )", {"5", "matrix"}},
        {"shape ( -1.5e-3 matrix ( ) )", {"-1.5e-3", "matrix"}},
        {"shape ( matrix ( ) )", {"matrix"}},
        {"shape ( ff808080 vertex_uvs ( ) )", {"ff808080", "vertex_uvs"}},
        {"shape ( abcdefgh vertex ( ) )", {"abcdefgh", "vertex"}},
        {"shape ( \xC3\xA4" "bcdefgh vertex ( ) )", {"\xC3\xA4" "bcdefgh", "vertex"}},  // 8 characters, 9 bytes
    };
    for (const auto& [body, values] : cases) {
        NodePtr root = readShape(body);
        ASSERT_EQ(root->Nodes().size(), 1u) << body;
        EXPECT_EQ(root->Nodes()[0]->Name.str(), values.back()) << body;
        EXPECT_TRUE(root->Nodes()[0]->Text().empty()) << body;
        EXPECT_EQ(valuesOf(*root), values) << body;
    }
    // Seven and nine characters do make a label.
    EXPECT_EQ(readShape("shape ( abcdefg vertex ( ) )")->Nodes()[0]->Text(), "vertex");
    EXPECT_EQ(readShape("shape ( abcdefghi vertex ( ) )")->Nodes()[0]->Text(), "vertex");
}

TEST(ShapeReaderLabels, WithoutTheLabelRuleTheWordBeforeParenthesisIsTheName) {
    NodePtr root = readShape("shape ( prim_state rail_side ( 1 ) )", false);
    EXPECT_EQ(root->Nodes()[0]->Name, "rail_side");
    EXPECT_TRUE(root->Nodes()[0]->Text().empty());
    EXPECT_EQ(valuesOf(*root), (Strings{"prim_state", "rail_side"}));
}

TEST(ShapeReaderLabels, OneValueAfterABlockIsAPlainName) {
    // After a block the last item is empty, so the value that follows it
    // has an empty item before it.
    NodePtr root = readShape("shape ( prim_state a_name ( ) matrix ( ) )");
    EXPECT_EQ(childNames(*root), (Strings{"prim_state", "matrix"}));
    EXPECT_TRUE(root->Nodes()[1]->Text().empty());
    EXPECT_EQ(valuesOf(*root), (Strings{"prim_state", "matrix"}));
}

TEST(ShapeReaderLabels, BlockDirectlyAfterABlockFollowsTheRuleLiterally) {
    // The item before last survives the first block: the second block takes
    // it as name with an empty label and removes the last element of Strings.
    NodePtr root = readShape("shape ( x a ( ) ( ) )");
    EXPECT_EQ(childNames(*root), (Strings{"x", "x"}));
    EXPECT_EQ(root->Nodes()[0]->Text(), "a");
    EXPECT_TRUE(root->Nodes()[1]->Text().empty());
    EXPECT_TRUE(root->Strings().empty());
    // A third one has nothing left to remove: the file is unreadable.
    root = readShape("shape ( x a ( ) ( ) ( ) )");
    EXPECT_TRUE(root->Nodes().empty());
    EXPECT_TRUE(root->Name.empty());
}

TEST(ShapeReaderTextEnd, TextEndingInsideABlockIsRefusedNamingTheInnermost) {
    // The header is line 1; the innermost open block is named with the line of its "(".
    NodePtr root = readShape("shape (\r\n\ta (\r\n\t\tb ( 1 2 )\r\n\t\tc ( 3");
    EXPECT_TRUE(root->Nodes().empty());
    EXPECT_TRUE(root->Name.empty());
    EXPECT_EQ(root->ReadProblem(), "the file ends inside block c opened at line 5: it may be cut off");
    EXPECT_EQ(readShape("shape ( a ( 1 )")->ReadProblem(),
              "the file ends inside block shape opened at line 2: it may be cut off");
}

TEST(ShapeReaderTextEnd, EveryCutBeforeTheLastParenthesisIsRefused) {
    // Inside a word, after a blank, inside a quoted value, on a "(".
    for (const char* body : {"shape ( a ( 1 23", "shape ( a ( 1 2", "shape ( a ( 1  ", "shape ( a ( 1\r\n",
                             "shape ( a ( \"x y\"", "shape ( a ( 1 b (", "shape ("}) {
        NodePtr root = readShape(body);
        EXPECT_TRUE(root->Nodes().empty()) << body;
        EXPECT_NE(root->ReadProblem().find("it may be cut off"), std::string::npos) << body;
    }
}

TEST(ShapeReaderTextEnd, TheOutermostParenthesisMayBeTheLastCharacter) {
    NodePtr root = readShape("shape ( a ( 1 \"x y\" ) )");
    EXPECT_EQ(valuesOf(*root), (Strings{"a"}));
    EXPECT_EQ(valuesOf(*root->Nodes()[0]), (Strings{"1", "\"x y\""}));
    EXPECT_TRUE(root->ReadProblem().empty());
}

TEST(ShapeReaderTextEnd, LineOfTheCutCountsFromTheFileItselfPastTheReadWindow) {
    // More lines than one read window holds, with the block opened near the end.
    std::string body = "shape (\r\n";
    for (int i = 0; i < 20000; ++i) body += "\tv ( 1 )\r\n";
    body += "\tlast ( 1 2";
    EXPECT_EQ(readShape(body)->ReadProblem(),
              "the file ends inside block last opened at line 20,003: it may be cut off");
}

TEST(ShapeReaderLongItems, ItemsLongerThanTheReadWindowStayWhole) {
    const std::string word(300000, 'w');
    const std::string quoted = "\"" + std::string(150000, ' ') + "( ) " + std::string(150000, 'q') + "\"";
    NodePtr root = readShape(std::string(200000, ' ') + "\r\nshape ( a ( " + word + " " + quoted + " 1 ) )");
    EXPECT_EQ(root->Name, "shape");
    ASSERT_EQ(root->Nodes().size(), 1u);
    EXPECT_EQ(valuesOf(*root->Nodes()[0]), (Strings{word, quoted, "1"}));
}

TEST(ShapeReaderLongItems, NameBeforeALongRunOfBlanks) {
    NodePtr root = readShape("words shape" + std::string(300000, '\t') + "( a ( ) )");
    EXPECT_EQ(root->Name.str(), "shape" + std::string(300000, '\t'));
    EXPECT_EQ(childNames(*root), (Strings{"a"}));
}

// Progress fractions expected for a body whose outermost block holds only
// named blocks: whole percent of the position after each of its items (a
// block's name is a value of its own), reported when it changes.
std::vector<float> expectedProgress(const std::string& body) {
    const std::string t = " " + body;
    const auto length = static_cast<std::uint64_t>(t.size());
    std::vector<float> events;
    std::int64_t last = 0;
    auto step = [&](std::uint64_t position) {
        const auto pct = static_cast<std::int64_t>(position * 100 / length);
        if (pct != last) events.push_back(static_cast<float>(pct / 100.0));
        last = pct;
    };
    int depth = 0;
    for (std::size_t i = 0; i < t.size(); ++i) {
        const bool blank = static_cast<unsigned char>(t[i]) < 0x21;
        if (t[i] == '(') ++depth;
        if (t[i] == ')' && --depth == 1) step(i + 2);  // the position after ")"
        const bool wordEnds = i > 0 && !blank && t[i] != '(' && t[i] != ')' && i + 1 < t.size() &&
                              (static_cast<unsigned char>(t[i + 1]) < 0x21 || t[i + 1] == '(' || t[i + 1] == ')');
        if (depth == 1 && wordEnds) step(i + 2);  // the position of the unit after the word
    }
    return events;
}

TEST(ShapeReaderProgress, TenEqualTopLevelBlocksRiseInStepsOfAboutTen) {
    std::string body = "shape (";
    for (int i = 0; i < 10; ++i) {
        body += "\r\n\tblock (";
        for (int v = 0; v < 120; ++v) body += " 0.5";
        body += " )";
    }
    body += "\r\n)";
    TempDir dir;
    writeShape(dir / "ten.s", body);
    std::vector<float> events;
    readFileRecording(dir / "ten.s", &events);
    EXPECT_EQ(events, expectedProgress(body));
    EXPECT_LT(events.back(), 1.0f);
    // One step of about ten per block (a block's name may tip the whole
    // percent over once more just after a block ends).
    std::set<int> tenths;
    for (float e : events) tenths.insert(static_cast<int>(std::lround(e * 10)));
    EXPECT_EQ(tenths, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10})) << ::testing::PrintToString(events);
    EXPECT_LE(events.size(), 12u);
}

TEST(ShapeReaderProgress, OnlyItemsOfTheOutermostBlockReport) {
    std::string body = "shape ( big (";
    for (int i = 0; i < 5000; ++i) body += " 1";
    body += " ) )";
    TempDir dir;
    writeShape(dir / "one.s", body);
    std::vector<float> events;
    NodePtr root = readFileRecording(dir / "one.s", &events);
    EXPECT_EQ(root->Nodes().size(), 1u);
    EXPECT_EQ(events, (std::vector<float>{0.99f}));
}

// A large shape keeps its geometry in a few top-level blocks; read for a
// progress bar, it reports every whole percent of its text, one by one.
TEST(ShapeReaderProgress, EveryPercentStepsThroughTheLargeBlocksOnePercentApart) {
    TempDir dir;
    ShapeParameters params;
    params.triangles = 20000;
    writeGeneratedShape(dir / "large.s", params);
    std::vector<float> events;
    NodePtr root = clsReader::create();
    root->SetProgressListener([&events](float f) { events.push_back(f); }, ReadProgress::EveryPercent);
    root->ReadFile(dir / "large.s", true);
    ASSERT_FALSE(root->Nodes().empty());
    std::vector<float> everyPercent;
    for (int pct = 1; pct <= 99; ++pct) everyPercent.push_back(static_cast<float>(pct / 100.0));
    EXPECT_EQ(events, everyPercent);
}

}  // namespace

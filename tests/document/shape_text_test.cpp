#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "document/shape_text.h"

namespace orvane {
namespace {

// Texts short enough to be kept inline and long enough to go to the heap
// behave alike through every copy, move, assignment and swap.
TEST(ShapeTextTest, KeepsEveryLengthThroughCopiesMovesAndSwaps) {
    std::vector<ShapeText> values;
    std::vector<std::string> expected;
    for (std::size_t n = 0; n <= 40; ++n) {
        std::string text;
        for (std::size_t i = 0; i < n; ++i) text += static_cast<char>('a' + (n + i) % 26);
        expected.push_back(text);
        values.emplace_back(text);
    }
    std::vector<ShapeText> copies = values;  // the list grows and moves as well
    for (std::size_t n = 0; n < values.size(); ++n) {
        ShapeText moved = std::move(copies[n]);
        EXPECT_TRUE(copies[n].empty());
        ShapeText swapped = "x";
        swapped.swap(moved);
        EXPECT_EQ(swapped, expected[n]);
        EXPECT_EQ(moved, "x");
        ShapeText assigned = expected[(n + 20) % expected.size()];
        assigned = values[n];
        EXPECT_EQ(assigned, expected[n]);
        EXPECT_EQ(assigned.size(), n);
        assigned = assigned;
        EXPECT_EQ(assigned.str(), expected[n]);
    }
}

}  // namespace
}  // namespace orvane

#include "fixes/value_lists.h"

#include <gtest/gtest.h>

#include "document/shape_error.h"
#include "document/tree_edit.h"
#include "repair_shapes.h"

using namespace orvane;
using orvane::test::valuesOf;

namespace {

NodePtr listOf(std::vector<std::string> values) {
    NodePtr node = clsReader::create("list");
    for (const std::string& v : values) appendValue(*node, v);
    return node;
}

}  // namespace

TEST(RecountValues, CountBecomesTheNumberOfValuesAfterIt) {
    NodePtr node = listOf({"7", "a", "b", "c"});
    recountValues(*node);
    EXPECT_EQ(valuesOf(*node), (std::vector<std::string>{"3", "a", "b", "c"}));

    NodePtr onlyCount = listOf({"12"});
    recountValues(*onlyCount);
    EXPECT_EQ(valuesOf(*onlyCount), (std::vector<std::string>{"0"}));

    NodePtr empty = listOf({});
    recountValues(*empty);
    EXPECT_EQ(valuesOf(*empty), (std::vector<std::string>{"0"}));
}

TEST(AddToValue, AddsInPlaceAndRoundsFractionsHalfToEven) {
    NodePtr node = listOf({"4", "x", "0041", "2.5", "3.5", "-7"});
    addToValue(*node, 1, 1);
    addToValue(*node, 3, 2);
    addToValue(*node, 4, 0);
    addToValue(*node, 5, 0);
    addToValue(*node, 6, 10);
    EXPECT_EQ(valuesOf(*node), (std::vector<std::string>{"5", "x", "43", "2", "4", "3"}));
}

TEST(AddToValue, RefusesWhatIsNoWholeNumberOrLeavesThe32BitRange) {
    NodePtr node = listOf({"abc", "2147483647"});
    EXPECT_THROW(addToValue(*node, 1, 1), ShapeError);
    EXPECT_THROW(addToValue(*node, 2, 1), ShapeError);
    EXPECT_THROW(addToValue(*node, 3, 1), ShapeError);
    EXPECT_EQ(valuesOf(*node), (std::vector<std::string>{"abc", "2147483647"}));
}

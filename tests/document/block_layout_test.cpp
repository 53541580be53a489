// The block accessors: values read as numbers, numbered children, and the
// messages they give when the shape does not hold what is asked for.

#include <gtest/gtest.h>

#include "document/block_layout.h"
#include "document/shape_error.h"
#include "support/shape_files.h"

using namespace orvane;

namespace {

template <class Call>
std::string problem(Call call) {
    try {
        call();
    } catch (const ShapeError& e) {
        return e.what();
    }
    return "no error";
}

}  // namespace

TEST(BlockLayout, WholeValues) {
    NodePtr block = test::readShape("geometry_info ( 0044 12.5 x1 )");
    EXPECT_EQ(blocks::wholeValue(*block, 1), 44);
    EXPECT_EQ(blocks::wholeValue(*block, 2), 12);
    EXPECT_EQ(problem([&] { blocks::wholeValue(*block, 3); }),
              "value 3 of geometry_info \"x1\" is not a whole number within 32 bits");
    EXPECT_EQ(problem([&] { blocks::wholeValue(*block, 4); }), "value 4 of geometry_info is missing");
    auto where = [] { return std::string("sub-object 2 of LOD 1"); };
    EXPECT_EQ(problem([&] { blocks::wholeValue(*block, 3, "the node count", where); }),
              "the node count \"x1\" (value 3 of geometry_info) of sub-object 2 of LOD 1 is not a whole number "
              "within 32 bits");
    EXPECT_EQ(problem([&] { blocks::textValue(*block, 5, "the index total", where); }),
              "the index total (value 5 of geometry_info) of sub-object 2 of LOD 1 is missing");
    std::string longText(100, '7');
    EXPECT_EQ(orvane::quoted(longText), "\"" + std::string(40, '7') + "...\"");
}

TEST(BlockLayout, NumberedChildrenAndRequiredBlocks) {
    NodePtr block = test::readShape("vtx_states ( 2 vtx_state ( 0 1 ) vtx_state ( 0 2 ) )");
    EXPECT_EQ(blocks::numbered(*block, 1, "vtx_state"), block->Nodes()[1]);
    EXPECT_EQ(problem([&] { blocks::numbered(*block, 2, "vtx_state"); }),
              "vtx_state 2 is beyond the 2 entries of \"vtx_states\"");
    EXPECT_EQ(problem([&] { blocks::numbered(*block, -1, "vtx_state"); }),
              "vtx_state -1 is not one of the 2 entries of \"vtx_states\"");
    EXPECT_EQ(blocks::requireChild(*block, "vtx_state"), block->Nodes()[0]);
    EXPECT_EQ(problem([&] { blocks::requireChild(*block, "matrix"); }),
              "block \"vtx_states\" has no \"matrix\" block");
}

#include <gtest/gtest.h>

#include "document/cls_reader.h"
#include "document/tree_edit.h"

using namespace orvane;

TEST(TreeEdit, Placeholder) { EXPECT_EQ(clsReader::create("a")->Name, "a"); }

#include "fixes/sub_objects.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "document/shape_error.h"
#include "division_shapes.h"
#include "repair_shapes.h"

using namespace orvane;
using namespace orvane::test;

namespace {

using Values = std::vector<std::string>;

class DivideSubObjects : public ::testing::Test {
protected:
    void load(const std::vector<SubObjectLayout>& layouts) {
        std::vector<std::string> texts;
        for (const SubObjectLayout& layout : layouts) texts.push_back(subObjectText(layout));
        root = readShape(divisionShapeText(texts));
        ASSERT_FALSE(root->Nodes().empty()) << "the test shape did not read";
        subObjects = subObjectsOf(*root);
    }
    // Divides the sub-objects at the given 0-based positions, as flagged by the survey.
    void divide(std::int32_t limit, const std::vector<std::size_t>& flagged) {
        repair = std::make_unique<RepairRun>(root, limitsWith(2800, limit));
        for (std::size_t i : flagged) repair->run.oversizedSubObjects.push_back(subObjectAt(*root, i));
        createSubObjects(repair->run);
    }
    const std::vector<std::string>& lines() const { return repair->report.lines; }

    NodePtr root, subObjects;
    std::unique_ptr<RepairRun> repair;
};

NodePtr block(const clsReader& node, std::string_view name) { return blocks::requireChild(node, name); }
NodePtr nodeMapOf(const clsReader& subObject) { return block(*geometryInfoOf(subObject), "geometry_node_map"); }
NodePtr geometryNodesOf(const clsReader& subObject) { return block(*geometryInfoOf(subObject), "geometry_nodes"); }

// Values of every child of a block, one text per child.
Values childValues(const clsReader& parent) {
    Values texts;
    for (const NodePtr& child : parent.Nodes()) texts.push_back(joined(valuesOf(*child)));
    return texts;
}

// The point numbers of the vertices, which name the vertices they started as.
Values vertexPoints(const clsReader& subObject) {
    Values points;
    for (const NodePtr& vertex : block(subObject, "vertices")->Nodes()) points.push_back(value(*vertex, 2));
    return points;
}

Values pointRange(int first, int last) {
    Values points;
    for (int k = first; k <= last; ++k) points.push_back(std::to_string(k));
    return points;
}

// The primitives block as "name values" texts (vertex numbers for triangle lists).
Values primitiveTexts(const clsReader& subObject) {
    Values texts;
    for (const NodePtr& child : primitivesOf(subObject)->Nodes()) {
        const clsReader& shown = child->Name == "indexed_trilist" ? *childAt(*child, 1) : *child;
        texts.push_back(child->Name.str() + " " + joined(valuesOf(shown)));
    }
    return texts;
}

TEST_F(DivideSubObjects, WorkedExampleComesOutValueByValue) {
    load({SubObjectLayout{}});
    NodePtr source = subObjectAt(*root, 0);
    divide(100, {0});

    EXPECT_EQ(lines(), (Values{"Creating new sub-object"}));
    EXPECT_GE(repair->report.repaints, 1);
    EXPECT_EQ(valuesOf(*subObjects), (Values{"2", "sub_object", "sub_object"}));
    ASSERT_EQ(subObjectAt(*root, 0), source);
    NodePtr copy = subObjectAt(*root, 1);
    EXPECT_EQ(copy->Parent(), subObjects);

    // The source: geometry nodes 0 and 1, vertices 0-149, the first two vertex sets.
    EXPECT_EQ(valuesOf(*geometryInfoOf(*source)),
              (Values{"90", "2", "77", "270", "55", "66", "3", "88", "99", "11", "geometry_nodes",
                      "geometry_node_map"}));
    EXPECT_EQ(valuesOf(*geometryNodesOf(*source)), (Values{"2", "geometry_node", "geometry_node"}));
    EXPECT_EQ(childValues(*geometryNodesOf(*source)), (Values{"1 0 0 0 0 cullable_prims", "1 0 0 0 0 cullable_prims"}));
    EXPECT_EQ(joined(valuesOf(*block(*childAt(*geometryNodesOf(*source), 2), "cullable_prims"))), "2 30 90");
    EXPECT_EQ(joined(valuesOf(*nodeMapOf(*source))), "4 0 1 -1 -1");
    EXPECT_EQ(value(*block(*source, "vertices"), 1), "150");
    EXPECT_EQ(vertexPoints(*source), pointRange(0, 149));
    EXPECT_EQ(value(*block(*source, "vertex_sets"), 1), "2");
    EXPECT_EQ(childValues(*block(*source, "vertex_sets")), (Values{"0 0 100", "1 100 50"}));
    EXPECT_EQ(primitiveTexts(*source),
              (Values{"prim_state_idx 0", "indexed_trilist 6 0 1 2 97 98 99", "prim_state_idx 1",
                      "indexed_trilist 6 100 101 102 147 148 149"}));
    EXPECT_EQ(value(*primitivesOf(*source), 1), "4");

    // The copy: geometry node 2, the last 80 vertices renumbered from 0.
    EXPECT_EQ(valuesOf(*geometryInfoOf(*copy)),
              (Values{"20", "1", "77", "60", "55", "66", "3", "88", "99", "11", "geometry_nodes",
                      "geometry_node_map"}));
    EXPECT_EQ(valuesOf(*geometryNodesOf(*copy)), (Values{"1", "geometry_node"}));
    EXPECT_EQ(joined(valuesOf(*block(*childAt(*geometryNodesOf(*copy), 1), "cullable_prims"))), "3 20 60");
    EXPECT_EQ(joined(valuesOf(*nodeMapOf(*copy))), "4 -1 -1 -1 0");
    EXPECT_EQ(value(*block(*copy, "vertices"), 1), "80");
    EXPECT_EQ(vertexPoints(*copy), pointRange(150, 229));
    EXPECT_EQ(valuesOf(*block(*copy, "vertex_sets")), (Values{"1", "vertex_set"}));
    EXPECT_EQ(childValues(*block(*copy, "vertex_sets")), (Values{"2 0 80"}));
    EXPECT_EQ(primitiveTexts(*copy), (Values{"prim_state_idx 2", "indexed_trilist 6 0 1 2 77 78 79"}));
    EXPECT_EQ(value(*primitivesOf(*copy), 1), "2");

    // Everything else in the header is copied unchanged.
    NodePtr copyHeader = block(*copy, "sub_object_header");
    EXPECT_EQ(valuesOf(*copyHeader), valuesOf(*block(*source, "sub_object_header")));
    EXPECT_EQ(treeText(*block(*copyHeader, "subobject_shaders")), "subobject_shaders ( 1 0 )");
    EXPECT_EQ(findMissingPlaceholder(*root), "");

    TempDir dir;
    root->SaveFile(dir / "divided.s");
    NodePtr reread = clsReader::create();
    reread->ReadFile(dir / "divided.s", true);
    EXPECT_EQ(treeText(*reread), treeText(*root));
}

struct SplitCase {
    std::vector<int> polygons;
    const char* sourcePolygons;
    const char* copyPolygons;
};

class DivisionSplit : public DivideSubObjects, public ::testing::WithParamInterface<SplitCase> {};

// The source keeps the longest leading run of nodes within the limit, the
// copy everything after it, however large; each is divided once.
TEST_P(DivisionSplit, SourceKeepsTheLeadingNodesWithinTheLimit) {
    SubObjectLayout layout;
    layout.polygons = GetParam().polygons;
    load({layout});
    divide(100, {0});
    EXPECT_EQ(lines(), (Values{"Creating new sub-object"}));
    ASSERT_EQ(subObjects->Nodes().size(), 2u);
    EXPECT_EQ(value(*geometryInfoOf(*subObjectAt(*root, 0)), 1), GetParam().sourcePolygons);
    EXPECT_EQ(value(*geometryInfoOf(*subObjectAt(*root, 1)), 1), GetParam().copyPolygons);
}

INSTANTIATE_TEST_SUITE_P(Limits, DivisionSplit,
                         ::testing::Values(SplitCase{{60, 40, 1}, "100", "1"},      // reaching the limit exactly
                                           SplitCase{{60, 50, 10}, "60", "60"},     // 10 would fit, but comes later
                                           SplitCase{{60, 50, 200}, "60", "250"}));  // the copy stays over the limit

TEST_F(DivideSubObjects, EachOfTwoFlaggedSubObjectsGetsItsCopyDirectlyAfterIt) {
    SubObjectLayout first, middle, last;
    last.polygons = {70, 40, 5};
    middle.polygons = {1, 1, 1};
    load({first, middle, last});
    NodePtr a = subObjectAt(*root, 0), b = subObjectAt(*root, 1), c = subObjectAt(*root, 2);
    divide(100, {0, 2});
    EXPECT_EQ(lines(), (Values{"Creating new sub-object", "Creating new sub-object"}));
    ASSERT_EQ(subObjects->Nodes().size(), 5u);
    EXPECT_EQ(valuesOf(*subObjects), (Values{"5", "sub_object", "sub_object", "sub_object", "sub_object",
                                             "sub_object"}));
    EXPECT_EQ(subObjectAt(*root, 0), a);
    EXPECT_EQ(subObjectAt(*root, 2), b);
    EXPECT_EQ(subObjectAt(*root, 3), c);
    EXPECT_EQ(value(*geometryInfoOf(*subObjectAt(*root, 1)), 1), "20");
    EXPECT_EQ(value(*geometryInfoOf(*subObjectAt(*root, 3)), 1), "70");
    EXPECT_EQ(value(*geometryInfoOf(*subObjectAt(*root, 4)), 1), "45") << "the last source's copy is appended";
}

TEST_F(DivideSubObjects, ChildrenBeforeTheFirstPrimStateIdxStayInBothHalves) {
    SubObjectLayout layout;
    const std::string leading = "indexed_trilist ( vertex_idxs ( 0 ) normal_idxs ( 0 ) flags ( 0 ) )";
    layout.primitives.insert(layout.primitives.begin(), leading);
    load({layout});
    divide(100, {0});
    EXPECT_EQ(primitiveTexts(*subObjectAt(*root, 0)).front(), "indexed_trilist 0");
    EXPECT_EQ(value(*primitivesOf(*subObjectAt(*root, 0)), 1), "5");
    EXPECT_EQ(primitiveTexts(*subObjectAt(*root, 1)),
              (Values{"indexed_trilist 0", "prim_state_idx 2", "indexed_trilist 6 0 1 2 77 78 79"}));
    EXPECT_EQ(value(*primitivesOf(*subObjectAt(*root, 1)), 1), "3");
}

TEST_F(DivideSubObjects, SubObjectWithoutSplitPositionWithinTheLimitIsLeftAsItWas) {
    struct Case {
        std::vector<int> polygons;
        const char* line;
    };
    for (const Case& c :
         {Case{{120, 10, 10},
               "Sub-object left undivided (LOD 2000, sub-object 0, 140 polygons): its first geometry node alone "
               "exceeds the limit"},
          Case{{10, 20, 30}, "Sub-object left undivided (LOD 2000, sub-object 0, 60 polygons): no split position "
                             "within the limit"}}) {
        SubObjectLayout layout;
        layout.polygons = c.polygons;
        load({layout});
        const std::string before = treeText(*root);
        repair = std::make_unique<RepairRun>(root, limitsWith(2800, 100));
        repair->run.oversizedSubObjects.push_back(subObjectAt(*root, 0));
        EXPECT_FALSE(createSubObjects(repair->run)) << "nothing was divided";
        EXPECT_EQ(lines(), (Values{c.line}));
        EXPECT_EQ(treeText(*root), before);
    }
}

struct MalformedDivision {
    const char* name;
    SubObjectLayout layout;
    const char* problem;  // part of the message
};

SubObjectLayout with(std::function<void(SubObjectLayout&)> change) {
    SubObjectLayout layout;
    change(layout);
    return layout;
}

class DivideMalformed : public DivideSubObjects, public ::testing::WithParamInterface<MalformedDivision> {};

TEST_P(DivideMalformed, StopsWithAMessageNamingTheSubObject) {
    const MalformedDivision& c = GetParam();
    load({c.layout});
    const std::string before = treeText(*root);
    try {
        divide(100, {0});
        ADD_FAILURE() << "no problem found";
    } catch (const ShapeError& e) {
        const std::string message = e.what();
        EXPECT_EQ(message.rfind("sub-object 0 of LOD 0: ", 0), 0u) << message;
        EXPECT_NE(message.find(c.problem), std::string::npos) << message;
    }
    // Everything is checked before the first line and the first edit.
    EXPECT_TRUE(lines().empty());
    EXPECT_EQ(treeText(*root), before);
}

SubObjectLayout withPrimitive(std::size_t i, const std::string& child) {
    return with([&](SubObjectLayout& s) { s.primitives[i] = child; });
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, DivideMalformed,
    ::testing::Values(
        MalformedDivision{"NoVertexSets", with([](SubObjectLayout& s) { s.vertexSets = "0"; }),
                          "in the new sub-object made from it: no vertex set is left"},
        MalformedDivision{"MissingCullablePrims", with([](SubObjectLayout& s) {
                              s.infoTail = "77 %IDX% 55 66 %PRIMS% 88 99 11 geometry_nodes ( 1 geometry_node ( 1 ) )";
                          }),
                          "has no \"cullable_prims\""},
        MalformedDivision{"ShortGeometryInfo", with([](SubObjectLayout& s) { s.infoTail = "%IDX% %PRIMS%"; }),
                          "fewer than the 7"},
        MalformedDivision{"NodeMapNotANumber", with([](SubObjectLayout& s) { s.nodeMap = "4 0 x -1 2"; }),
                          "not a whole number"},
        MalformedDivision{"PrimStateMissing", withPrimitive(4, "prim_state_idx ( 7 )"), "prim_state 7 is beyond"},
        MalformedDivision{"VertexSetOfMissingVtxState", with([](SubObjectLayout& s) {
                              s.vertexSets = "3 vertex_set ( 0 0 100 ) vertex_set ( 1 100 50 ) vertex_set ( 5 150 80 )";
                          }),
                          "vertex set 2 names vtx_state 5"},
        MalformedDivision{"CopyUsesASourceVertex",
                          withPrimitive(5, "indexed_trilist ( vertex_idxs ( 3 150 151 3 ) normal_idxs ( 1 0 3 ) "
                                           "flags ( 1 0 ) )"),
                          "in the new sub-object made from it: vertex index 3 of primitive 2 names a vertex it no "
                          "longer has (it keeps vertices 150 to 229)"},
        MalformedDivision{"SourceUsesACopyVertex",
                          withPrimitive(1, "indexed_trilist ( vertex_idxs ( 3 0 1 200 ) normal_idxs ( 1 0 3 ) "
                                           "flags ( 1 0 ) )"),
                          "vertex index 200 of primitive 0 names a vertex it no longer has (it keeps vertices 0 to "
                          "149)"},
        MalformedDivision{"TooFewVertices", with([](SubObjectLayout& s) { s.vertices = 120; }),
                          "starts at vertex 150, but there are 120 vertices"},
        MalformedDivision{"PrimitivesNotACountedList", withPrimitive(0, "7 prim_state_idx ( 0 )"),
                          "the primitives block does not hold its count followed by one placeholder per child"}),
    [](const ::testing::TestParamInfo<MalformedDivision>& info) { return std::string(info.param.name); });

// --- the parts of the division on their own --------------------------------

NodePtr mapOf(const std::string& values) {
    NodePtr map = clsReader::create("geometry_node_map");
    std::size_t start = 0;
    while (start < values.size()) {
        std::size_t end = values.find(' ', start);
        if (end == std::string::npos) end = values.size();
        appendValue(*map, values.substr(start, end - start));
        start = end + 1;
    }
    return map;
}

TEST(GeometryNodeMap, UnmapReplacesOnlyTheFirstExactDecimalMatch) {
    NodePtr map = mapOf("6 0 2 0 01 1 +1");
    unmapGeometryNode(*map, 1, 1);
    EXPECT_EQ(joined(valuesOf(*map)), "6 -1 2 0 01 1 +1");
    unmapGeometryNode(*map, 2, 2);
    EXPECT_EQ(joined(valuesOf(*map)), "6 -1 2 0 01 -1 +1");
    unmapGeometryNode(*map, 9, 9);
    EXPECT_EQ(joined(valuesOf(*map)), "6 -1 2 0 01 -1 +1");
    unmapGeometryNode(*map, 7, 7);  // the count "6" is never a map entry
    EXPECT_EQ(joined(valuesOf(*map)), "6 -1 2 0 01 -1 +1");
}

TEST(GeometryNodeMap, UnmappingARangeMatchesUnmappingNodeByNode) {
    std::mt19937 random(7);
    const Values texts{"0", "1", "2", "3", "4", "-1", "01", "1.0", "x", "-0"};
    for (int round = 0; round < 300; ++round) {
        std::string map = "9";
        for (int m = 0; m < 9; ++m) map += " " + texts[random() % texts.size()];
        const auto first = static_cast<std::int32_t>(random() % 5) + 1;
        const auto last = static_cast<std::int32_t>(random() % 6);
        NodePtr inOnePass = mapOf(map), byNode = mapOf(map);
        unmapGeometryNode(*inOnePass, first, last);
        for (std::int32_t j = first; j <= last; ++j) unmapGeometryNode(*byNode, j, j);
        ASSERT_EQ(valuesOf(*inOnePass), valuesOf(*byNode)) << map << " nodes " << first << " to " << last;
    }
}

TEST(GeometryNodeMap, RenumberCountsTheMappedEntriesInMapOrder) {
    NodePtr map = mapOf("5 7 -1 3 -1 0");
    renumberNodeMap(*map);
    EXPECT_EQ(joined(valuesOf(*map)), "5 0 -1 1 -1 2");
}

TEST(CopyNode, CopiesTheWholeTreeWithItsPlaceholdersAndParents) {
    NodePtr root = readShape("shape ( a ( 1 b ( 2 c ( 3 ) ) b ( x ) \"q v\" ) d )");
    NodePtr copy = clsReader::create();
    copyNode(*root, *copy);
    EXPECT_EQ(treeText(*copy), treeText(*root));
    NodePtr a = childAt(*copy, 1);
    EXPECT_NE(a, childAt(*root, 1));
    EXPECT_EQ(a->Parent(), copy);
    EXPECT_EQ(childAt(*a, 2)->Parent(), a);
}

}  // namespace

// The repairs on real third-party shapes (when the corpus folder is there):
// with small limits they regroup every triangle without losing, doubling or
// changing one, keep each sub-object's counts in step, and the result reads
// back as written.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "document/shape_error.h"
#include "fixes/split_primitives.h"
#include "fixes/sub_objects.h"
#include "fixes/survey.h"
#include "repair_shapes.h"

using namespace orvane;
using namespace orvane::test;

namespace {

// Every triangle of a distance level as "prim_state: point point point",
// sorted: the same whichever sub-object or triangle list holds it.
std::vector<std::string> trianglesOf(const clsReader& level) {
    std::vector<std::string> triangles;
    for (const NodePtr& subObject : level.Find("sub_objects")->Nodes()) {
        const NodeList& vertices = subObject->Find("vertices")->Nodes();
        std::string state = "none";
        for (const NodePtr& child : subObject->Find("primitives")->Nodes()) {
            if (child->Name == "prim_state_idx") state = value(*child, 1);
            if (child->Name != "indexed_trilist") continue;
            const clsReader& indices = *childAt(*child, 1);
            for (std::size_t v = 2; v + 2 <= valueCount(indices); v += 3) {
                std::string triangle = state + ":";
                for (std::size_t c = v; c < v + 3; ++c)
                    triangle += " " + value(*vertices.at(static_cast<std::size_t>(blocks::wholeValue(indices, c))), 2);
                triangles.push_back(triangle);
            }
        }
    }
    std::sort(triangles.begin(), triangles.end());
    return triangles;
}

std::vector<NodePtr> distanceLevelsOf(const clsReader& root) {
    std::vector<NodePtr> levels;
    NodePtr controls = root.Find("lod_controls");
    NodePtr control = controls ? controls->Find("lod_control") : nullptr;
    NodePtr list = control ? control->Find("distance_levels") : nullptr;
    if (list)
        for (const NodePtr& level : list->Nodes())
            if (level->Name == "distance_level" && level->Find("sub_objects")) levels.push_back(level);
    return levels;
}

TEST(RepairsOnRealShapes, RegroupTrianglesAndKeepCountsInStep) {
    const std::filesystem::path corpus = ORVANE_CORPUS_DIR;
    if (!std::filesystem::is_directory(corpus)) GTEST_SKIP() << "no corpus at " << corpus;
    int repaired = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        if (entry.path().extension() != ".s") continue;
        SCOPED_TRACE(entry.path().filename().string());
        NodePtr root = clsReader::create();
        root->ReadFile(entry.path(), true);
        if (root->Nodes().empty()) continue;
        std::vector<std::vector<std::string>> before;
        for (const NodePtr& level : distanceLevelsOf(*root)) before.push_back(trianglesOf(*level));

        RepairRun repair(root, limitsWith(100, 1000));
        try {
            checkLods(repair.run, *root);
            splitOversizedPrimitives(repair.run);
            createSubObjects(repair.run);
        } catch (const ShapeError& e) {
            // Damaged shapes stop the run; the message says what and where.
            EXPECT_NE(std::string(e.what()).find("of LOD"), std::string::npos) << e.what();
            continue;
        }
        ++repaired;
        std::vector<std::vector<std::string>> after;
        for (const NodePtr& level : distanceLevelsOf(*root)) {
            after.push_back(trianglesOf(*level));
            for (const NodePtr& subObject : level->Find("sub_objects")->Nodes()) {
                const clsReader& info = *geometryInfoOf(*subObject);
                std::int64_t polygons = 0;
                for (const NodePtr& node : info.Find("geometry_nodes")->Nodes())
                    polygons += blocks::wholeValue(*node->Find("cullable_prims"), 2);
                EXPECT_EQ(blocks::wholeValue(info, 1), polygons);
            }
        }
        EXPECT_EQ(after, before);
        EXPECT_EQ(findMissingPlaceholder(*root), "");
        TempDir dir;
        root->SaveFile(dir / "repaired.s");
        NodePtr reread = clsReader::create();
        reread->ReadFile(dir / "repaired.s", true);
        EXPECT_EQ(treeText(*reread), treeText(*root));
    }
    EXPECT_GT(repaired, 0);
}

}  // namespace

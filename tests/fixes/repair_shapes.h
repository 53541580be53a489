#pragma once
// Helpers for the tests of the repairs: a run state over a shape read from
// text, the LOD hierarchy walked by position, and trees turned into text for
// comparisons.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "document/block_layout.h"
#include "document/tree_edit.h"
#include "fixes/run_state.h"
#include "support/shape_files.h"

namespace orvane::test {

// A run state over a root, set up like the driver does before the repairs.
struct RepairRun {
    explicit RepairRun(NodePtr root, RunLimits limits = {})
        : run(report, limits, RunSwitches{}) {
        run.r = std::move(root);
        run.shapePoints = run.r->Find(blocks::points);
        run.shapeVtxStates = run.r->Find(blocks::vtx_states);
        run.shapePrimStates = run.r->Find(blocks::prim_states);
    }
    RecordingReport report;
    RunState run;
};

inline RunLimits limitsWith(std::int32_t maxPrimFaces, std::int32_t maxObjectPolys = 11000) {
    RunLimits limits;
    limits.maxPrimFaces = maxPrimFaces;
    limits.maxObjectPolys = maxObjectPolys;
    return limits;
}

// The sub_objects block of the first distance level.
inline NodePtr subObjectsOf(const clsReader& root) {
    NodePtr node = blocks::requireChild(root, blocks::lod_controls);
    node = blocks::requireChild(*node, blocks::lod_control);
    node = blocks::requireChild(*node, blocks::distance_levels);
    node = blocks::requireChild(*node, blocks::distance_level);
    return blocks::requireChild(*node, blocks::sub_objects);
}

// Sub-object i (0-based) of the first distance level.
inline NodePtr subObjectAt(const clsReader& root, std::size_t i) { return childAt(*subObjectsOf(root), i + 1); }

inline NodePtr geometryInfoOf(const clsReader& subObject) {
    return blocks::requireChild(*blocks::requireChild(subObject, blocks::sub_object_header), blocks::geometry_info);
}

inline NodePtr primitivesOf(const clsReader& subObject) { return blocks::requireChild(subObject, blocks::primitives); }

inline std::vector<std::string> valuesOf(const clsReader& node) {
    std::vector<std::string> values;
    for (const ShapeText& value : node.Strings()) values.push_back(value.str());
    return values;
}

// Value n of a block as text.
inline std::string value(const clsReader& node, std::size_t n) { return std::string(valueAt(node, n)); }

// The whole subtree as one text: name, label, values and children in order.
inline std::string treeText(const clsReader& node) {
    std::string text = node.Name.str();
    if (!node.Text().empty()) text += " " + node.Text().str();
    text += " (";
    std::size_t next = 0;
    for (const ShapeText& value : node.Strings()) {
        if (next < node.Nodes().size() && value == node.Nodes()[next]->Name)
            text += " " + treeText(*node.Nodes()[next++]);
        else
            text += " " + value.str();
    }
    for (; next < node.Nodes().size(); ++next) text += " <unplaced> " + treeText(*node.Nodes()[next]);
    return text + " )";
}

inline std::string joined(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items) text += (text.empty() ? "" : " ") + item;
    return text;
}

}  // namespace orvane::test

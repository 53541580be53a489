#pragma once
// Shape texts for the tests of the checks: small pieces that join into the
// body of a shape file (read with readShape), and a run state to check them
// on.

#include <string>
#include <vector>

#include "document/shape_error.h"
#include "fixes/survey.h"
#include "fixes/run_state.h"
#include "support/shape_files.h"

namespace orvane::test {

// points ( n point ( x y z ) ... ), each entry "x y z".
inline std::string pointsBlock(const std::vector<std::string>& xyz) {
    std::string text = "points ( " + std::to_string(xyz.size()) + "\n";
    for (const std::string& p : xyz) text += "  point ( " + p + " )\n";
    return text + ")\n";
}

// vertices ( n vertex ( flags point normal ... ) ... ), one entry per point index.
inline std::string verticesBlock(const std::vector<int>& pointIndices) {
    std::string text = "vertices ( " + std::to_string(pointIndices.size()) + "\n";
    for (int p : pointIndices)
        text += "  vertex ( 00000000 " + std::to_string(p) + " 0 ffffffff ff000000 vertex_uvs ( 1 0 ) )\n";
    return text + ")\n";
}

// indexed_trilist with the given face count text and vertex indices.
inline std::string trilist(const std::string& faces, const std::vector<int>& indices) {
    std::string text = "indexed_trilist ( vertex_idxs ( " + std::to_string(indices.size());
    for (int i : indices) {
        text += ' ';
        text += std::to_string(i);
    }
    text += " ) normal_idxs ( " + faces;
    return text + " ) flags ( 1 00000000 ) )\n";
}

// primitives ( n children ) with children joined as given.
inline std::string primitivesBlock(const std::vector<std::string>& children) {
    std::string text = "primitives ( " + std::to_string(children.size()) + "\n";
    for (const std::string& c : children) text += "  " + c;
    return text + ")\n";
}

// sub_object_header of five values, three child blocks and a trailing
// label value (nine values); geometry_info starts with the polygon count.
inline std::string subObjectHeader(const std::string& polygons, const std::string& label = "0") {
    return "sub_object_header ( 00000400 -1 -1 000001d2 000001c4\n"
           "  geometry_info ( " + polygons + " 1 0 3 0 0 1 0 0 0 geometry_nodes ( 1 geometry_node ( 1 0 0 0 0 ) )"
           " geometry_node_map ( 1 0 ) )\n"
           "  subobject_shaders ( 1 0 ) subobject_light_cfgs ( 1 0 ) " + label + "\n)\n";
}

inline std::string subObject(const std::string& header, const std::string& vertices, const std::string& primitives) {
    return "sub_object (\n" + header + vertices + "vertex_sets ( 1 vertex_set ( 0 0 1 ) )\n" + primitives + ")\n";
}

inline std::string distanceLevel(const std::string& distance, const std::vector<std::string>& subObjects) {
    std::string text = "distance_level ( distance_level_header ( dlevel_selection ( " + distance +
                       " ) hierarchy ( 1 -1 ) )\nsub_objects ( " + std::to_string(subObjects.size()) + "\n";
    for (const std::string& s : subObjects) text += s;
    return text + ") )\n";
}

inline std::string lodControl(const std::vector<std::string>& levels) {
    std::string text = "lod_control ( distance_levels_header ( 0 ) distance_levels ( " + std::to_string(levels.size()) + "\n";
    for (const std::string& l : levels) text += l;
    return text + ") )\n";
}

inline std::string lodControls(const std::vector<std::string>& controls) {
    std::string text = "lod_controls ( " + std::to_string(controls.size()) + "\n";
    for (const std::string& c : controls) text += c;
    return text + ")\n";
}

// The whole body: shape ( shape_header ... blocks ... ).
inline std::string shapeBody(const std::string& blocks) {
    return "shape (\nshape_header ( 00000000 00000000 )\n" + blocks + ")\n";
}

// A run state over a recording report, limits and switches as given.
struct CheckRun {
    explicit CheckRun(const NodePtr& root, RunLimits limits = {}, RunSwitches switches = {})
        : run(report, limits, switches) {
        run.r = root;
        run.shapePoints = root->Find("points");
        run.shapeVtxStates = root->Find("vtx_states");
        run.shapePrimStates = root->Find("prim_states");
    }
    RecordingReport report;
    RunState run;
};

inline RunSwitches lifting() {
    RunSwitches switches;
    switches.chkPoly = true;
    return switches;
}

// The message of the ShapeError the survey throws on body, or "no error".
inline std::string shapeError(const std::string& body) {
    NodePtr root = readShape(body);
    CheckRun check(root);
    try {
        checkLods(check.run, *root);
    } catch (const ShapeError& e) {
        return e.what();
    }
    return "no error";
}

}  // namespace orvane::test

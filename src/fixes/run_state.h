#pragma once
// The state one fix run shares between its steps: the limits and switches
// it was started with, the tree, the oversize lists the survey fills for the
// repairs, the block references, and whether a repair was made.

#include <cstdint>
#include <string>
#include <vector>

#include "document/cls_reader.h"
#include "fixes/repair_trace.h"
#include "fixes/work_progress.h"

namespace orvane {

// The default limits, the one place they are written: the window's
// settings, its dialogs and tool tips and the command line all start here.
inline constexpr std::int32_t kDefaultMaxPrimFaces = 2800;
inline constexpr std::int32_t kDefaultMaxObjectPolys = 11000;
inline constexpr float kDefaultMinEdgeMm = 2.5f;
// Square metres, computed as the edge dialog does: (mm / 1000)^2 in single
// precision, which is 0.00000625.
inline constexpr float kDefaultMinEdgeSqr = (kDefaultMinEdgeMm / 1000.0f) * (kDefaultMinEdgeMm / 1000.0f);
// The ranges a limit may be set to: the two counts from 1 up to the 32-bit
// maximum, the minimum edge from 0 (no edge is short) to a kilometre.
inline constexpr std::int32_t kLeastCountLimit = 1;
inline constexpr float kMostMinEdgeMm = 1000000.0f;

struct RunLimits {
    std::int32_t maxPrimFaces = kDefaultMaxPrimFaces;
    std::int32_t maxObjectPolys = kDefaultMaxObjectPolys;
    float minEdgeSqr = kDefaultMinEdgeSqr;
};

struct RunSwitches {
    bool chkPoly = false;    // "Make Small Polys Visible": lift short edges
    bool chkAnims = true;    // "Check Animations": normalise the animations
    bool chkReport = false;  // "Report Only": never write a file
    bool compress = false;   // write the output as a compressed shape
};

// Where the checks and repairs report: the report list.
class RunReport {
public:
    virtual ~RunReport() = default;
    // Appends one whole line (tabs separate columns).
    virtual void addLine(const std::string& line) = 0;
    // Shows the lines appended so far at once (the run does not yield).
    virtual void repaintLines() = 0;
};

// What the survey, the small-edge check and the animation step reported,
// counted where they add the lines, for summaries over many shapes.
struct RunFigures {
    enum class Animation { None, Kept, Removed, Retimed };

    std::int64_t lods = 0;         // distance levels surveyed
    std::int64_t subObjects = 0;   // sub-objects surveyed, all levels
    std::int64_t primitives = 0;   // primitive lines
    std::int64_t triangles = 0;    // sum of the primitives' face counts
    std::int64_t largestPrimitiveFaces = 0;
    std::int64_t largestSubObjectPolygons = 0;
    std::int64_t oversizePrimitives = 0;
    std::int64_t oversizeSubObjects = 0;
    std::int64_t shortEdges = 0;    // short-edge reports
    std::int64_t liftedPoints = 0;
    std::int64_t maxSubObjectVertices = 0;  // vertices of the fullest sub-object surveyed
    Animation animation = Animation::None;
};

struct RunState {
    RunState(RunReport& reportList, const RunLimits& limits, const RunSwitches& switches)
        : lst(reportList),
          maxPrimFaces(limits.maxPrimFaces),
          maxObjectPolys(limits.maxObjectPolys),
          minEdgeSqr(limits.minEdgeSqr),
          chkPoly(switches.chkPoly),
          chkAnims(switches.chkAnims),
          chkReport(switches.chkReport),
          compress(switches.compress) {}

    RunReport& lst;
    std::int32_t maxPrimFaces;
    std::int32_t maxObjectPolys;
    float minEdgeSqr;
    bool chkPoly;
    bool chkAnims;
    bool chkReport;
    bool compress;

    NodePtr r;  // the root of the shape being repaired
    std::vector<NodePtr> oversizedPrimitives;
    std::vector<NodePtr> oversizedSubObjects;
    NodePtr shapePoints;
    NodePtr shapeVtxStates;
    NodePtr shapePrimStates;
    // Set when a step changed the tree in a way worth writing: a point lift,
    // a split, a division, a frame-rate correction.
    bool fixesMade = false;
    RunFigures figures;
    // The checks' and repairs' progress, in triangles (see checkWorkOf).
    WorkProgress progress;
    // Where the splits and divisions record what they made, for a view of
    // the repaired shape; none records nothing.
    RepairTrace* trace = nullptr;

    void report(const std::string& line) { lst.addLine(line); }
    void repaintReport() { lst.repaintLines(); }
};

}  // namespace orvane

#pragma once
// The state one fix run shares between its steps: the limits and switches
// it was started with, the tree, the oversize lists the survey fills for the
// repairs, the block references, and whether a repair was made.

#include <cstdint>
#include <string>
#include <vector>

#include "document/cls_reader.h"

namespace orvane {

struct RunLimits {
    std::int32_t maxPrimFaces = 2800;
    std::int32_t maxObjectPolys = 11000;
    float minEdgeSqr = 0.00000625f;  // square metres: (2.5 mm)^2
};

struct RunSwitches {
    bool chkPoly = false;    // "Make Small Polys Visible": lift short edges
    bool chkAnims = true;    // "Check Animations": normalise the animations
    bool chkReport = false;  // "Report Only": never write a file
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

struct RunState {
    RunState(RunReport& reportList, const RunLimits& limits, const RunSwitches& switches)
        : lst(reportList),
          maxPrimFaces(limits.maxPrimFaces),
          maxObjectPolys(limits.maxObjectPolys),
          minEdgeSqr(limits.minEdgeSqr),
          chkPoly(switches.chkPoly),
          chkAnims(switches.chkAnims),
          chkReport(switches.chkReport) {}

    RunReport& lst;
    std::int32_t maxPrimFaces;
    std::int32_t maxObjectPolys;
    float minEdgeSqr;
    bool chkPoly;
    bool chkAnims;
    bool chkReport;

    NodePtr r;  // the root of the shape being repaired
    std::vector<NodePtr> oversizedPrimitives;
    std::vector<NodePtr> oversizedSubObjects;
    NodePtr shapePoints;
    NodePtr shapeVtxStates;
    NodePtr shapePrimStates;
    NodePtr subObjectVertices;
    bool fixesMade = false;

    void report(const std::string& line) { lst.addLine(line); }
    void repaintReport() { lst.repaintLines(); }
};

}  // namespace orvane

#include "fixes/small_edges.h"

#include <cmath>
#include <string>

#include "document/numbers.h"
#include "document/shape_error.h"
#include "document/tree_edit.h"
#include "fixes/edge_length.h"
#include "fixes/shape_places.h"

namespace orvane {

namespace {

// One triangle as the check works on it: per corner (0, 1, 2) the vertex
// index it was given, the point index of that vertex and the coordinates
// read for it.
struct Triangle {
    std::int32_t vertex[3];
    std::int32_t point[3];
    PointXyz xyz[3];
    std::int32_t polyNumber;
};

std::string cornerText(const Triangle& tri, int corner) {
    const PointXyz& p = tri.xyz[corner];
    return std::to_string(tri.vertex[corner]) + "(" + formatRounded(p.x, 5) + "," + formatRounded(p.y, 5) + "," +
           formatRounded(p.z, 5) + ")";
}

void readCorner(RunState& run, CornerReader& corners, const clsReader& vertices, Triangle& tri, int corner) {
    tri.xyz[corner] = corners.read(*run.shapePoints, tri.point[corner], vertices, tri.vertex[corner]);
}

// Tests the edge from corner s to corner t; a short one is reported and,
// when asked, corner `lifted` goes up by one metre in the tree. The working
// coordinates keep the values read before the lift.
void checkEdge(RunState& run, CornerReader& corners, const Triangle& tri, int s, int t, int lifted) {
    const float d2 = squaredEdgeLength(tri.xyz[s], tri.xyz[t]);
    if (!isShortEdge(d2, run.minEdgeSqr)) return;

    run.report("\t\tPoly" + std::to_string(tri.polyNumber) + "\t" + cornerText(tri, s));
    const double millimetres = std::sqrt(static_cast<double>(d2)) * 1000.0;
    run.report("\t\t\t" + cornerText(tri, t) + " " + formatRounded(millimetres, 2) + "mm");
    ++run.figures.shortEdges;

    if (!run.chkPoly) return;
    const std::int32_t point = tri.point[lifted];
    const float liftedY = tri.xyz[lifted].y + 1.0f;
    replaceValue(*run.shapePoints->Nodes()[static_cast<std::size_t>(point)], 2, formatSingle(liftedY));
    corners.forget(point);
    run.fixesMade = true;
    ++run.figures.liftedPoints;
}

}  // namespace

void checkPolyEdges(RunState& run, CornerReader& corners, const clsReader* subObjectVertices, std::int32_t ia,
                    std::int32_t ib, std::int32_t ic, std::int32_t polyNumber) {
    if (!subObjectVertices) return;
    const clsReader& vertices = *subObjectVertices;
    Triangle tri{{ia, ib, ic}, {}, {}, polyNumber};
    for (int corner = 0; corner < 3; ++corner) tri.point[corner] = corners.pointOf(vertices, tri.vertex[corner], polyNumber);
    if (!run.shapePoints)
        throw ShapeError(ownerSubObjectPlace(vertices) + " has vertices but the shape has no points block");

    readCorner(run, corners, vertices, tri, 0);
    readCorner(run, corners, vertices, tri, 1);
    checkEdge(run, corners, tri, 0, 1, 1);
    // Corner 2 is read only now, so it sees a lift that edge 0-1 made.
    readCorner(run, corners, vertices, tri, 2);
    checkEdge(run, corners, tri, 0, 2, 0);
    checkEdge(run, corners, tri, 2, 1, 2);
}

}  // namespace orvane

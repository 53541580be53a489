#pragma once
// The triangles of one LOD (distance level) of a shape in space: every
// triangle of every primitive with its three corners in the shape's frame,
// tagged with its place as the report numbers it and its prim_state, and
// the findings of the run placed on them.
//
// A vertex is placed by its primitive's prim_state -> vtx_state -> matrix,
// then up the level's hierarchy. Every reference is checked; a triangle
// that cannot be placed is left out and its fault becomes a finding.
// Corners are shared between the triangles of a sub-object that use the
// same vertex with the same matrix.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "document/cls_reader.h"
#include "fixes/repair_trace.h"
#include "fixes/run_state.h"
#include "geometry/placed_finding.h"
#include "geometry/vec3.h"

namespace orvane::geometry {

// The place of a run of triangles of one primitive (indexed_trilist) of
// the LOD: triangles firstTriangle up to the next record's firstTriangle,
// numbered firstPoly, firstPoly + 1, ... as the report numbers them (the
// k-th triangle of a list is k + 1). A primitive has one record, and one
// more after each triangle left out; so a triangle keeps no place of its
// own, and the triangles take 12 bytes each.
struct PrimitiveRecord {
    std::int32_t subObject = 0;
    std::int32_t primitive = 0;
    std::int32_t primState = kNoPlace;  // the prim_state that governs it
    // With a repair trace, for a primitive a split made or kept: its part
    // number (1 = the part the split primitive kept) and the split's number
    // in the trace; otherwise 0 and kNoPlace.
    std::int32_t piece = 0;
    std::int32_t split = kNoPlace;
    std::uint32_t firstTriangle = 0;  // into LodGeometry::triangles
    std::int32_t firstPoly = 0;
};

struct PlacedTriangle {
    std::uint32_t corner[3];  // into LodGeometry::corners
};

struct TriangleTag {
    std::int32_t lod;
    std::int32_t subObject;
    std::int32_t primitive;
    std::int32_t polyNumber;
    std::int32_t primState;
};

struct LodGeometry {
    std::int32_t lod = kNoPlace;
    std::vector<Vec3f> corners;
    std::vector<PlacedTriangle> triangles;
    std::vector<PrimitiveRecord> primitives;
    // In the order of the walk: per sub-object its own findings, then per
    // primitive its own, its short edges and its faults. At most
    // kMaxFaultFindings geometry faults are kept; faultsDropped counts the rest.
    std::vector<PlacedFinding> findings;
    std::int64_t faultsDropped = 0;

    TriangleTag tag(std::size_t triangle) const;
    // The record of a triangle: the last record whose run starts at or before it.
    std::size_t recordOf(std::size_t triangle) const;
    // Calls visit(record, first, last) for each record's triangles [first, last).
    template <class Visit>
    void forEachRun(Visit visit) const {
        for (std::size_t r = 0; r < primitives.size(); ++r) {
            const std::size_t first = primitives[r].firstTriangle;
            const std::size_t last = r + 1 < primitives.size() ? primitives[r + 1].firstTriangle : triangles.size();
            if (first < last) visit(r, first, last);
        }
    }
    // The memory the triangles take: corners, triangles and primitive records.
    std::size_t bytesKept() const;
};

inline constexpr std::size_t kMaxFaultFindings = 10000;

// The number of distance_level blocks of the shape's first lod_control (the
// LODs the report surveys, numbered from 0); 0 when there is none.
std::int32_t lodCount(const clsReader& root);

// The triangles and findings of LOD `lod` (0-based; an out-of-range number
// gives an empty result) of the tree as read, with the run's limits: the
// oversize tests are the survey's (strictly greater), the short edges the
// small-edge check's, on the points as read (nothing lifted).
// With the trace of the run that repaired the tree, the primitives a split
// made or kept carry their part numbers, and each such primitive and each
// sub-object a division inserted gets a finding of its own (SplitPiece,
// DividedSubObject).
LodGeometry buildLodGeometry(const clsReader& root, std::int32_t lod, const RunLimits& limits,
                             const RepairTrace* trace = nullptr);

}  // namespace orvane::geometry

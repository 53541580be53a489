#pragma once
// The frame of every matrix of one distance level in the shape's frame: the
// matrix itself, then its parent's, and so on up the level's hierarchy to a
// root. A matrix that cannot be placed (a value that is no number, a parent
// out of range, a loop, a result that is not finite) carries its fault, and
// so does every matrix below it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "document/cls_reader.h"
#include "geometry/geometry_fault.h"
#include "geometry/vec3.h"

namespace orvane::geometry {

// Applied to row vectors: p' = p * rotation + translation, rotation in rows.
struct Frame {
    double rotation[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    double translation[3] = {0, 0, 0};
};

// p * local, then * parent.
Frame chained(const Frame& local, const Frame& parent);

class MatrixFrames {
public:
    // matrices: the shape's matrices block, hierarchy: the level's (either
    // may be none). Linear in the number of matrices, without recursion.
    MatrixFrames(const clsReader* matrices, const clsReader* hierarchy);

    std::size_t count() const { return frames_.size(); }
    // None when matrix m can be used; MatrixOutOfRange for a number that
    // names no matrix.
    std::optional<FaultKind> fault(std::int64_t m) const;
    const Frame& frame(std::int64_t m) const { return frames_[static_cast<std::size_t>(m)]; }

private:
    std::vector<Frame> frames_;
    std::vector<std::optional<FaultKind>> faults_;
};

// p placed by frame, in double and rounded to single once per coordinate.
Vec3f place(const Frame& frame, float x, float y, float z);

}  // namespace orvane::geometry

#pragma once
// The shape of the last run as the view shows it: the triangles and
// findings of each LOD as read and, after a run that wrote an output, as
// written, and what the simulators trip on in the shape as read.

#include <filesystem>
#include <vector>

#include "findings/find_problems.h"
#include "geometry/lod_geometry.h"

namespace orvane::ui {

struct ViewShape {
    std::filesystem::path file;
    std::vector<geometry::LodGeometry> original;
    std::vector<geometry::LodGeometry> repaired;  // empty unless the run wrote an output
    findings::ShapeFindings problems;             // of the shape as read

    bool hasRepaired() const { return !repaired.empty(); }
    const std::vector<geometry::LodGeometry>& lods(bool wantRepaired) const {
        return wantRepaired && hasRepaired() ? repaired : original;
    }
};

}  // namespace orvane::ui

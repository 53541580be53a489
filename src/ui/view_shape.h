#pragma once
// The shape of the last run as the view shows it: the triangles and
// findings of each LOD as read and, after a run that wrote an output, as
// written.

#include <filesystem>
#include <vector>

#include "geometry/lod_geometry.h"

namespace orvane::ui {

struct ViewShape {
    std::filesystem::path file;
    std::vector<geometry::LodGeometry> original;
    std::vector<geometry::LodGeometry> repaired;  // empty unless the run wrote an output

    bool hasRepaired() const { return !repaired.empty(); }
    const std::vector<geometry::LodGeometry>& lods(bool wantRepaired) const {
        return wantRepaired && hasRepaired() ? repaired : original;
    }
};

}  // namespace orvane::ui

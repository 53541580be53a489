#pragma once
// From a line of the run's report to the place in the shape it names, and
// from that place to the finding of a LOD's geometry that stands there:
// what lets a view show the part of the shape a report line is about.
//
// Places are counted the way the report prints them: LODs by the "LOD
// Distance" lines above, sub-objects by the "Sub Object" lines since their
// LOD's line; primitives and triangles by the numbers the lines print.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "geometry/lod_geometry.h"
#include "geometry/placed_finding.h"

namespace orvane::geometry {

struct ReportPlace {
    std::int32_t lod = kNoPlace, subObject = kNoPlace, primitive = kNoPlace, polyNumber = kNoPlace;
    std::int32_t vertexA = kNoPlace, vertexB = kNoPlace;  // a short edge's two vertices as the report names them
};

// The place report line `index` names, with the lines before it read for
// context (the LOD Distance and Sub Object lines above it); none when the
// line names none. lineAt(i) gives line i of the report, and an empty text
// for a line past its end (the first line of a short edge reads the line
// after it for the edge's second vertex). Reads each line above at most
// twice; never more lines than the report has above `index`, plus one.
std::optional<ReportPlace> reportPlaceAt(const std::function<std::string(std::size_t)>& lineAt, std::size_t index);

// The finding of `lod` at that place, if there is one: the short edge with
// those vertices and that triangle (the second vertex is matched only when
// the place names it), the oversize primitive, else for a sub-object place
// the sub-object's oversize, undivided or vertex overflow finding, first
// found in that order. None when the place is in another LOD.
const PlacedFinding* findingAt(const LodGeometry& lod, const ReportPlace& place);

}  // namespace orvane::geometry

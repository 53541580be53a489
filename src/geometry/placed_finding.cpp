#include "geometry/placed_finding.h"

namespace orvane::geometry {

namespace {

std::string place(const PlacedFinding& f) {
    std::string text = "LOD " + std::to_string(f.lod);
    if (f.subObject != kNoPlace) text += ", sub-object " + std::to_string(f.subObject);
    if (f.primitive != kNoPlace) text += ", primitive " + std::to_string(f.primitive);
    if (f.polyNumber != kNoPlace) text += ", triangle " + std::to_string(f.polyNumber);
    return text;
}

}  // namespace

std::string describe(const PlacedFinding& f) {
    switch (f.kind) {
        case FindingKind::OversizePrimitive:
            return "oversize primitive (" + std::to_string(f.count) + " faces), " + place(f);
        case FindingKind::OversizeSubObject:
            return "oversize sub-object (" + std::to_string(f.count) + " polygons), " + place(f);
        case FindingKind::UndividedSubObject:
            return "sub-object left undivided, " + place(f);
        case FindingKind::ShortEdge:
            return "short edge between vertices " + std::to_string(f.vertexA) + " and " + std::to_string(f.vertexB) +
                   ", " + place(f);
        case FindingKind::VertexOverflow:
            return "sub-object of " + std::to_string(f.count) + " vertices (over 65535), " + place(f);
        case FindingKind::SplitPiece:
            return "piece " + std::to_string(f.count) + " of " + std::to_string(f.pieces) + " of a split primitive, " +
                   place(f);
        case FindingKind::DividedSubObject:
            return "sub-object made by a division, " + place(f);
        case FindingKind::GeometryFault: {
            std::string text = faultText(f.fault) + ", " + place(f);
            if (f.count > 0) text += " (" + std::to_string(f.count) + (f.count == 1 ? " triangle" : " triangles") + " left out)";
            return text;
        }
    }
    return place(f);
}

}  // namespace orvane::geometry

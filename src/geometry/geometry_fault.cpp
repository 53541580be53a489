#include "geometry/geometry_fault.h"

namespace orvane::geometry {

std::string faultText(FaultKind kind) {
    switch (kind) {
        case FaultKind::MissingBlock: return "missing block";
        case FaultKind::BadValue: return "value that is not a number";
        case FaultKind::VertexOutOfRange: return "vertex number out of range";
        case FaultKind::PointOutOfRange: return "point number out of range";
        case FaultKind::NormalOutOfRange: return "normal number out of range";
        case FaultKind::PrimStateOutOfRange: return "prim_state number out of range";
        case FaultKind::VtxStateOutOfRange: return "vtx_state number out of range";
        case FaultKind::MatrixOutOfRange: return "matrix number out of range";
        case FaultKind::ParentOutOfRange: return "hierarchy parent out of range";
        case FaultKind::ParentLoop: return "loop in the matrix hierarchy";
        case FaultKind::NotFinite: return "coordinate that is not finite";
        case FaultKind::IndicesMissing: return "fewer vertex indices than counted";
    }
    return "fault";
}

}  // namespace orvane::geometry

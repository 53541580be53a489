#include "geometry/lod_geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "document/block_layout.h"
#include "document/numbers.h"
#include "document/shape_error.h"
#include "fixes/division_plan.h"
#include "fixes/edge_length.h"
#include "geometry/matrix_frames.h"

namespace orvane::geometry {

namespace {

constexpr std::string_view kMatrices = "matrices";
constexpr std::string_view kNormals = "normals";
constexpr std::string_view kHierarchy = "hierarchy";
constexpr std::uint32_t kNoCorner = std::numeric_limits<std::uint32_t>::max();
constexpr std::int32_t kMaxIndexedVertices = 65535;

// Value n (1-based) of block as a whole number.
std::optional<std::int32_t> wholeAt(const clsReader& block, std::size_t n) {
    const StringList& values = block.Strings();
    if (n < 1 || n > values.size()) return std::nullopt;
    return toWholeNumber(values[n - 1].view());
}

// The shape's points, each read once when first used.
class PointTable {
public:
    explicit PointTable(const clsReader* points) : points_(points) {
        const std::size_t n = points ? points->Nodes().size() : 0;
        xyz_.resize(n);
        state_.assign(n, kUnread);
    }

    // Point q, or the fault that keeps it from being used.
    std::optional<FaultKind> read(std::int64_t q, PointXyz& out) {
        if (q < 0 || static_cast<std::size_t>(q) >= xyz_.size()) return FaultKind::PointOutOfRange;
        const auto slot = static_cast<std::size_t>(q);
        if (state_[slot] == kUnread) state_[slot] = parse(*points_->Nodes()[slot], xyz_[slot]);
        if (state_[slot] != kGood) return static_cast<FaultKind>(state_[slot]);
        out = xyz_[slot];
        return std::nullopt;
    }

private:
    static constexpr unsigned char kUnread = 0xFF;
    static constexpr unsigned char kGood = 0xFE;

    static unsigned char parse(const clsReader& point, PointXyz& out) {
        const StringList& values = point.Strings();
        if (values.size() < 3) return static_cast<unsigned char>(FaultKind::BadValue);
        float xyz[3];
        for (std::size_t i = 0; i < 3; ++i) {
            auto v = toSingle(values[i].view());
            if (!v) {
                const bool numeric = isNumericText(values[i].view());
                return static_cast<unsigned char>(numeric ? FaultKind::NotFinite : FaultKind::BadValue);
            }
            xyz[i] = *v;
        }
        out = {xyz[0], xyz[1], xyz[2]};
        return kGood;
    }

    const clsReader* points_;
    std::vector<PointXyz> xyz_;
    std::vector<unsigned char> state_;
};

// The vertices of one sub-object: each one's point number, checked once,
// and the corner it was placed as with which matrix.
struct VertexTable {
    static constexpr std::int64_t kUnread = std::numeric_limits<std::int64_t>::min();

    const clsReader* block = nullptr;
    std::vector<std::int64_t> point;  // point number, or -1 - fault kind
    std::vector<std::uint32_t> corner;
    std::vector<std::int64_t> cornerMatrix;

    void reset(const clsReader* vertices) {
        block = vertices;
        const std::size_t n = vertices ? vertices->Nodes().size() : 0;
        point.assign(n, kUnread);
        corner.assign(n, kNoCorner);
        cornerMatrix.assign(n, -1);
    }

    // The point number of vertex v, or its fault.
    std::optional<FaultKind> pointOf(std::int64_t v, std::size_t normals, std::int64_t& out) {
        if (v < 0 || static_cast<std::size_t>(v) >= point.size()) return FaultKind::VertexOutOfRange;
        std::int64_t& known = point[static_cast<std::size_t>(v)];
        if (known == kUnread) known = parse(*block->Nodes()[static_cast<std::size_t>(v)], normals);
        if (known < 0) return static_cast<FaultKind>(-1 - known);
        out = known;
        return std::nullopt;
    }

private:
    static std::int64_t faultCode(FaultKind kind) { return -1 - static_cast<std::int64_t>(kind); }

    // Value 2 is the point number, value 3 the normal number.
    static std::int64_t parse(const clsReader& vertex, std::size_t normals) {
        auto p = wholeAt(vertex, 2);
        auto n = wholeAt(vertex, 3);
        if (!p || !n) return faultCode(FaultKind::BadValue);
        if (*n < 0 || static_cast<std::size_t>(*n) >= normals) return faultCode(FaultKind::NormalOutOfRange);
        if (*p < 0) return faultCode(FaultKind::PointOutOfRange);
        return *p;
    }
};

NodePtr firstLevels(const clsReader& root) {
    NodePtr lodControls = root.Find(blocks::lod_controls);
    NodePtr lodControl = lodControls ? lodControls->Find(blocks::lod_control) : nullptr;
    return lodControl ? lodControl->Find(blocks::distance_levels) : nullptr;
}

NodePtr levelNumbered(const clsReader& root, std::int32_t lod) {
    NodePtr levels = firstLevels(root);
    if (!levels || lod < 0) return nullptr;
    std::int32_t position = 0;
    for (const NodePtr& child : levels->Nodes())
        if (child->Name == blocks::distance_level && position++ == lod) return child;
    return nullptr;
}

// Triangles a vertex_idxs block holds: its count read as the survey reads
// it (triangles start at values 2, 5, 8, ... up to the count + 1), cut to
// the values present. `counted` gets the survey's number.
std::int64_t trianglesHeld(const clsReader& indices, std::int64_t& counted) {
    auto n = wholeAt(indices, 1);
    counted = (n && *n >= 1) ? (std::int64_t{*n} - 1) / 3 + 1 : 0;
    const auto values = static_cast<std::int64_t>(indices.Strings().size());
    const std::int64_t present = values >= 4 ? (values - 1) / 3 : 0;
    return std::min(counted, present);
}

class LodBuilder {
public:
    LodBuilder(const clsReader& root, std::int32_t lod, const RunLimits& limits, const RepairTrace* trace,
               LodGeometry& out)
        : root_(root),
          limits_(limits),
          trace_(trace),
          out_(out),
          points_(root.Find(blocks::points).get()),
          primStates_(root.Find(blocks::prim_states)),
          vtxStates_(root.Find(blocks::vtx_states)) {
        out_.lod = lod;
        NodePtr normals = root.Find(kNormals);
        normals_ = normals ? normals->Nodes().size() : 0;
    }

    void build(const clsReader& level) {
        NodePtr header = level.Find(blocks::distance_level_header);
        if (!header) return fault(FaultKind::MissingBlock, kNoPlace, kNoPlace, kNoPlace, 0);
        NodePtr matrices = root_.Find(kMatrices);
        NodePtr hierarchy = header->Find(kHierarchy);
        frames_.emplace(matrices.get(), hierarchy.get());
        NodePtr subObjects = level.Find(blocks::sub_objects);
        if (!subObjects) return;
        reserve(*subObjects);
        std::int32_t number = 0;
        for (const NodePtr& child : subObjects->Nodes())
            if (child->Name == blocks::sub_object) subObject(*child, number++);
    }

private:
    void add(const PlacedFinding& finding) {
        if (finding.kind == FindingKind::GeometryFault) {
            if (faultsKept_ >= kMaxFaultFindings) {
                ++out_.faultsDropped;
                return;
            }
            ++faultsKept_;
        }
        out_.findings.push_back(finding);
    }

    PlacedFinding at(FindingKind kind, std::int32_t subObject, std::int32_t primitive, std::int32_t poly) const {
        PlacedFinding f;
        f.kind = kind;
        f.lod = out_.lod;
        f.subObject = subObject;
        f.primitive = primitive;
        f.polyNumber = poly;
        return f;
    }

    void fault(FaultKind kind, std::int32_t subObject, std::int32_t primitive, std::int32_t poly, std::int64_t left) {
        PlacedFinding f = at(FindingKind::GeometryFault, subObject, primitive, poly);
        f.fault = kind;
        f.count = left;
        add(f);
    }

    // One fault finding per kind and primitive: later triangles add to its count.
    void triangleFault(FaultKind kind, std::int32_t subObject, std::int32_t primitive, std::int32_t poly) {
        if (lastFault_ < out_.findings.size() && out_.findings[lastFault_].fault == kind) {
            ++out_.findings[lastFault_].count;
            return;
        }
        const std::size_t before = out_.findings.size();
        fault(kind, subObject, primitive, poly, 1);
        if (out_.findings.size() > before) lastFault_ = before;
    }

    // Room for every triangle and corner of the level at once.
    void reserve(const clsReader& subObjects) {
        std::size_t triangles = 0, corners = 0;
        for (const NodePtr& so : subObjects.Nodes()) {
            if (so->Name != blocks::sub_object) continue;
            if (NodePtr vertices = so->Find(blocks::vertices)) corners += vertices->Nodes().size();
            NodePtr primitives = so->Find(blocks::primitives);
            if (!primitives) continue;
            for (const NodePtr& p : primitives->Nodes()) {
                if (p->Name != blocks::indexed_trilist) continue;
                if (NodePtr indices = p->Find(blocks::vertex_idxs)) {
                    std::int64_t counted = 0;
                    triangles += static_cast<std::size_t>(trianglesHeld(*indices, counted));
                }
            }
        }
        out_.triangles.reserve(triangles);
        out_.corners.reserve(corners);
    }

    void subObject(const clsReader& so, std::int32_t number) {
        if (trace_ && trace_->madeSubObjects.count(&so)) add(at(FindingKind::DividedSubObject, number, kNoPlace, kNoPlace));
        subObjectFindings(so, number);
        NodePtr vertices = so.Find(blocks::vertices);
        vertices_.reset(vertices.get());
        if (vertices && vertices->Nodes().size() > static_cast<std::size_t>(kMaxIndexedVertices)) {
            PlacedFinding f = at(FindingKind::VertexOverflow, number, kNoPlace, kNoPlace);
            f.count = static_cast<std::int64_t>(vertices->Nodes().size());
            add(f);
        }
        NodePtr primitives = so.Find(blocks::primitives);
        if (!primitives) return;
        std::int32_t primitiveNumber = 0;
        std::optional<std::int32_t> primState;
        for (const NodePtr& child : primitives->Nodes()) {
            if (child->Name == blocks::prim_state_idx) {
                primState = wholeAt(*child, 1);
                if (!primState) primState = kBadPrimState;
            } else if (child->Name == blocks::indexed_trilist) {
                primitive(*child, number, primitiveNumber++, vertices.get(), primState);
            }
        }
    }

    // Oversize and left undivided, from geometry_info as the survey reads it.
    void subObjectFindings(const clsReader& so, std::int32_t number) {
        NodePtr header = so.Find(blocks::sub_object_header);
        NodePtr info = header ? header->Find(blocks::geometry_info) : nullptr;
        if (!info) return fault(FaultKind::MissingBlock, number, kNoPlace, kNoPlace, 0);
        auto polygons = wholeAt(*info, 1);
        if (!polygons) return fault(FaultKind::BadValue, number, kNoPlace, kNoPlace, 0);
        if (*polygons <= limits_.maxObjectPolys) return;
        PlacedFinding f = at(FindingKind::OversizeSubObject, number, kNoPlace, kNoPlace);
        f.count = *polygons;
        add(f);
        NodePtr nodes = info->Find(blocks::geometry_nodes);
        if (!nodes) return;
        try {
            if (findSplitPoint(*nodes, limits_.maxObjectPolys).position <= 1) {
                f.kind = FindingKind::UndividedSubObject;
                add(f);
            }
        } catch (const ShapeError&) {
            // The division stops the run on such a sub-object; nothing to place.
        }
    }

    const RepairTrace::Piece* pieceOf(const clsReader& trilist) const {
        if (!trace_) return nullptr;
        const auto found = trace_->pieces.find(&trilist);
        return found == trace_->pieces.end() ? nullptr : &found->second;
    }

    // The matrix of a prim_state: its vtx_state's (value 5), whose value 2 it is.
    std::optional<FaultKind> matrixOf(std::optional<std::int32_t> primState, std::int64_t& matrix) const {
        if (!primState) return FaultKind::MissingBlock;
        if (*primState == kBadPrimState) return FaultKind::BadValue;
        if (!primStates_ || *primState < 0 || static_cast<std::size_t>(*primState) >= primStates_->Nodes().size())
            return FaultKind::PrimStateOutOfRange;
        auto vtxState = wholeAt(*primStates_->Nodes()[static_cast<std::size_t>(*primState)], 5);
        if (!vtxState) return FaultKind::BadValue;
        if (!vtxStates_ || *vtxState < 0 || static_cast<std::size_t>(*vtxState) >= vtxStates_->Nodes().size())
            return FaultKind::VtxStateOutOfRange;
        auto m = wholeAt(*vtxStates_->Nodes()[static_cast<std::size_t>(*vtxState)], 2);
        if (!m) return FaultKind::BadValue;
        matrix = *m;
        return frames_->fault(matrix);
    }

    void primitive(const clsReader& trilist, std::int32_t so, std::int32_t number, const clsReader* vertices,
                   std::optional<std::int32_t> primState) {
        lastFault_ = std::numeric_limits<std::size_t>::max();
        const RepairTrace::Piece* piece = pieceOf(trilist);
        if (piece) {
            PlacedFinding f = at(FindingKind::SplitPiece, so, number, kNoPlace);
            f.count = piece->piece;
            f.pieces = piece->pieces;
            f.split = piece->split;
            add(f);
        }
        NodePtr normals = trilist.Find(blocks::normal_idxs);
        if (normals) {
            auto faces = wholeAt(*normals, 1);
            if (faces && *faces > limits_.maxPrimFaces) {
                PlacedFinding f = at(FindingKind::OversizePrimitive, so, number, kNoPlace);
                f.count = *faces;
                add(f);
            }
        }
        NodePtr indices = trilist.Find(blocks::vertex_idxs);
        if (!indices) return;
        std::int64_t counted = 0;
        const std::int64_t held = trianglesHeld(*indices, counted);
        // The survey checks edges only of lists it reports, in a sub-object with vertices.
        const bool checkEdges = normals && vertices;

        std::int64_t matrix = -1;
        const std::optional<FaultKind> matrixFault = matrixOf(primState, matrix);
        const PrimitiveRecord record{so,
                                     number,
                                     primState && *primState != kBadPrimState ? *primState : kNoPlace,
                                     piece ? piece->piece : 0,
                                     piece ? piece->split : kNoPlace,
                                     0,
                                     0};
        // A new run starts at the primitive's first kept triangle and after each one left out.
        std::int64_t nextPoly = -1;
        bool anyRun = false;

        const StringList& values = indices->Strings();
        for (std::int64_t k = 0; k < held; ++k) {
            const auto poly = static_cast<std::int32_t>(std::min<std::int64_t>(k + 2, std::numeric_limits<std::int32_t>::max()));
            std::int64_t vertex[3];
            std::optional<FaultKind> problem;
            for (int c = 0; c < 3 && !problem; ++c) {
                auto v = toWholeNumber(values[static_cast<std::size_t>(3 * k + 1 + c)].view());
                if (!v) problem = FaultKind::BadValue;
                else vertex[c] = *v;
            }
            PointXyz raw[3];
            std::int64_t point[3];
            for (int c = 0; c < 3 && !problem; ++c) {
                if (!vertices) problem = FaultKind::MissingBlock;
                else problem = vertices_.pointOf(vertex[c], normals_, point[c]);
                if (!problem) problem = points_.read(point[c], raw[c]);
            }
            if (problem) {
                triangleFault(*problem, so, number, poly);
                continue;
            }
            pending_ = 0;
            if (checkEdges) shortEdges(raw, vertex, so, number, poly);
            if (matrixFault) {
                triangleFault(*matrixFault, so, number, poly);
                continue;
            }
            PlacedTriangle tri{};
            for (int c = 0; c < 3 && !problem; ++c) problem = cornerOf(vertex[c], raw[c], matrix, tri.corner[c]);
            if (problem) {
                triangleFault(*problem, so, number, poly);
                continue;
            }
            if (poly != nextPoly) {
                PrimitiveRecord run = record;
                run.firstTriangle = static_cast<std::uint32_t>(out_.triangles.size());
                run.firstPoly = poly;
                out_.primitives.push_back(run);
                anyRun = true;
            }
            nextPoly = std::int64_t(poly) + 1;
            out_.triangles.push_back(tri);
            placeEdges(tri);
        }
        // A primitive none of whose triangles could be placed keeps an empty run.
        if (!anyRun) {
            PrimitiveRecord run = record;
            run.firstTriangle = static_cast<std::uint32_t>(out_.triangles.size());
            out_.primitives.push_back(run);
        }
        if (counted > held) fault(FaultKind::IndicesMissing, so, number, static_cast<std::int32_t>(std::min<std::int64_t>(held + 2, INT32_MAX)), counted - held);
    }

    // Edges 0-1, 0-2 and 2-1 as the small-edge check tests them; each short
    // one waits for its triangle's corners in pendingEdges_.
    void shortEdges(const PointXyz* raw, const std::int64_t* vertex, std::int32_t so, std::int32_t number,
                    std::int32_t poly) {
        static constexpr int kEdges[3][2] = {{0, 1}, {0, 2}, {2, 1}};
        pending_ = 0;
        for (const auto& e : kEdges) {
            if (!isShortEdge(squaredEdgeLength(raw[e[0]], raw[e[1]]), limits_.minEdgeSqr)) continue;
            PlacedFinding f = at(FindingKind::ShortEdge, so, number, poly);
            f.vertexA = static_cast<std::int32_t>(vertex[e[0]]);
            f.vertexB = static_cast<std::int32_t>(vertex[e[1]]);
            pendingEdges_[pending_++] = {out_.findings.size(), e[0], e[1]};
            add(f);
        }
    }

    void placeEdges(const PlacedTriangle& tri) {
        for (int i = 0; i < pending_; ++i) {
            PlacedFinding& f = out_.findings[pendingEdges_[i].finding];
            f.a = out_.corners[tri.corner[pendingEdges_[i].s]];
            f.b = out_.corners[tri.corner[pendingEdges_[i].t]];
            f.placed = true;
        }
    }

    std::optional<FaultKind> cornerOf(std::int64_t v, const PointXyz& raw, std::int64_t matrix, std::uint32_t& out) {
        const auto slot = static_cast<std::size_t>(v);
        if (vertices_.corner[slot] != kNoCorner && vertices_.cornerMatrix[slot] == matrix) {
            out = vertices_.corner[slot];
            return std::nullopt;
        }
        const Vec3f p = place(frames_->frame(matrix), raw.x, raw.y, raw.z);
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return FaultKind::NotFinite;
        if (out_.corners.size() >= kNoCorner) return FaultKind::VertexOutOfRange;
        out = static_cast<std::uint32_t>(out_.corners.size());
        out_.corners.push_back(p);
        vertices_.corner[slot] = out;
        vertices_.cornerMatrix[slot] = matrix;
        return std::nullopt;
    }

    static constexpr std::int32_t kBadPrimState = std::numeric_limits<std::int32_t>::min();

    const clsReader& root_;
    const RunLimits& limits_;
    const RepairTrace* trace_;
    LodGeometry& out_;
    PointTable points_;
    NodePtr primStates_;
    NodePtr vtxStates_;
    std::size_t normals_ = 0;
    std::optional<MatrixFrames> frames_;
    VertexTable vertices_;
    std::size_t faultsKept_ = 0;
    std::size_t lastFault_ = std::numeric_limits<std::size_t>::max();
    struct PendingEdge {
        std::size_t finding;
        int s, t;
    };
    PendingEdge pendingEdges_[3] = {};
    int pending_ = 0;
};

}  // namespace

std::size_t LodGeometry::recordOf(std::size_t triangle) const {
    const auto after = std::upper_bound(primitives.begin(), primitives.end(), triangle,
                                        [](std::size_t t, const PrimitiveRecord& r) { return t < r.firstTriangle; });
    return static_cast<std::size_t>(after - primitives.begin()) - 1;
}

TriangleTag LodGeometry::tag(std::size_t triangle) const {
    const PrimitiveRecord& p = primitives[recordOf(triangle)];
    const auto poly = static_cast<std::int32_t>(p.firstPoly + static_cast<std::int64_t>(triangle - p.firstTriangle));
    return {lod, p.subObject, p.primitive, poly, p.primState};
}

std::size_t LodGeometry::bytesKept() const {
    return corners.capacity() * sizeof(Vec3f) + triangles.capacity() * sizeof(PlacedTriangle) +
           primitives.capacity() * sizeof(PrimitiveRecord);
}

std::int32_t lodCount(const clsReader& root) {
    NodePtr levels = firstLevels(root);
    if (!levels) return 0;
    std::int32_t count = 0;
    for (const NodePtr& child : levels->Nodes())
        if (child->Name == blocks::distance_level) ++count;
    return count;
}

LodGeometry buildLodGeometry(const clsReader& root, std::int32_t lod, const RunLimits& limits,
                             const RepairTrace* trace) {
    LodGeometry out;
    NodePtr level = levelNumbered(root, lod);
    if (!level) return out;
    LodBuilder builder(root, lod, limits, trace, out);
    builder.build(*level);
    return out;
}

}  // namespace orvane::geometry

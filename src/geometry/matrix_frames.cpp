#include "geometry/matrix_frames.h"

#include <cmath>

#include "document/numbers.h"

namespace orvane::geometry {

namespace {

constexpr std::int64_t kRoot = -1;

struct Local {
    Frame frame;
    std::int64_t parent = kRoot;
    std::optional<FaultKind> fault;
};

bool finite(const Frame& f) {
    for (double v : f.rotation)
        if (!std::isfinite(v)) return false;
    for (double v : f.translation)
        if (!std::isfinite(v)) return false;
    return true;
}

// The 12 numbers of a matrix block: a rotation in rows, then a translation.
Local readLocal(const clsReader& matrix) {
    Local local;
    const StringList& values = matrix.Strings();
    if (values.size() < 12) {
        local.fault = FaultKind::BadValue;
        return local;
    }
    double numbers[12];
    for (std::size_t i = 0; i < 12; ++i) {
        auto number = toSingle(values[i].view());
        if (!number) {
            local.fault = isNumericText(values[i].view()) ? FaultKind::NotFinite : FaultKind::BadValue;
            return local;
        }
        numbers[i] = *number;
    }
    for (int i = 0; i < 9; ++i) local.frame.rotation[i] = numbers[i];
    for (int i = 0; i < 3; ++i) local.frame.translation[i] = numbers[9 + i];
    return local;
}

// Matrix m's parent from the hierarchy: value m + 2, -1 for a root.
void readParent(const clsReader* hierarchy, std::size_t m, std::size_t matrices, Local& local) {
    if (local.fault) return;
    if (!hierarchy) {
        local.fault = FaultKind::MissingBlock;
        return;
    }
    const StringList& values = hierarchy->Strings();
    if (m + 1 >= values.size()) {
        local.fault = FaultKind::ParentOutOfRange;
        return;
    }
    auto parent = toWholeNumber(values[m + 1].view());
    if (!parent) {
        local.fault = FaultKind::BadValue;
        return;
    }
    if (*parent == -1) return;
    if (*parent < -1 || static_cast<std::size_t>(*parent) >= matrices) {
        local.fault = FaultKind::ParentOutOfRange;
        return;
    }
    local.parent = *parent;
}

}  // namespace

Frame chained(const Frame& local, const Frame& parent) {
    Frame out;
    const double* a = local.rotation;
    const double* b = parent.rotation;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) out.rotation[3 * i + j] = a[3 * i] * b[j] + a[3 * i + 1] * b[3 + j] + a[3 * i + 2] * b[6 + j];
    const double* t = local.translation;
    for (int j = 0; j < 3; ++j) out.translation[j] = t[0] * b[j] + t[1] * b[3 + j] + t[2] * b[6 + j] + parent.translation[j];
    return out;
}

Vec3f place(const Frame& f, float x, float y, float z) {
    const double* r = f.rotation;
    const double px = x, py = y, pz = z;
    return {static_cast<float>(px * r[0] + py * r[3] + pz * r[6] + f.translation[0]),
            static_cast<float>(px * r[1] + py * r[4] + pz * r[7] + f.translation[1]),
            static_cast<float>(px * r[2] + py * r[5] + pz * r[8] + f.translation[2])};
}

MatrixFrames::MatrixFrames(const clsReader* matrices, const clsReader* hierarchy) {
    const std::size_t n = matrices ? matrices->Nodes().size() : 0;
    std::vector<Local> locals(n);
    for (std::size_t m = 0; m < n; ++m) {
        locals[m] = readLocal(*matrices->Nodes()[m]);
        readParent(hierarchy, m, n, locals[m]);
    }
    frames_.resize(n);
    faults_.resize(n);
    // Each matrix is resolved once: walk up to a resolved matrix or a root,
    // then resolve the walked path from the top down.
    enum : unsigned char { Unvisited, OnPath, Done };
    std::vector<unsigned char> state(n, Unvisited);
    std::vector<std::size_t> path;
    for (std::size_t start = 0; start < n; ++start) {
        path.clear();
        std::int64_t j = static_cast<std::int64_t>(start);
        while (j != kRoot && state[static_cast<std::size_t>(j)] == Unvisited) {
            const auto u = static_cast<std::size_t>(j);
            state[u] = OnPath;
            path.push_back(u);
            if (locals[u].fault) break;
            j = locals[u].parent;
        }
        if (j != kRoot && state[static_cast<std::size_t>(j)] == OnPath && !locals[static_cast<std::size_t>(j)].fault) {
            // The walk came back to a matrix of its own path: every matrix
            // from there on is in the loop.
            bool inLoop = false;
            for (std::size_t u : path) {
                inLoop = inLoop || u == static_cast<std::size_t>(j);
                if (inLoop) {
                    faults_[u] = FaultKind::ParentLoop;
                    state[u] = Done;
                }
            }
        }
        for (auto it = path.rbegin(); it != path.rend(); ++it) {
            const std::size_t u = *it;
            if (state[u] == Done) continue;
            state[u] = Done;
            const Local& local = locals[u];
            if (local.fault) {
                faults_[u] = local.fault;
            } else if (local.parent == kRoot) {
                frames_[u] = local.frame;
            } else if (auto inherited = faults_[static_cast<std::size_t>(local.parent)]) {
                faults_[u] = inherited;
            } else {
                frames_[u] = chained(local.frame, frames_[static_cast<std::size_t>(local.parent)]);
            }
            if (!faults_[u] && !finite(frames_[u])) faults_[u] = FaultKind::NotFinite;
        }
    }
}

std::optional<FaultKind> MatrixFrames::fault(std::int64_t m) const {
    if (m < 0 || static_cast<std::size_t>(m) >= frames_.size()) return FaultKind::MatrixOutOfRange;
    return faults_[static_cast<std::size_t>(m)];
}

}  // namespace orvane::geometry

#include "fixes/work_progress.h"

#include <algorithm>

#include "document/block_layout.h"
#include "document/cls_reader.h"
#include "document/numbers.h"

namespace orvane {

void WorkProgress::start(std::uint64_t total, Listener listener) {
    listener_ = std::move(listener);
    total_ = std::max<std::uint64_t>(total, 1);
    done_ = 0;
    percent_ = 0;
    nextAt_ = listener_ ? (total_ + 99) / 100 : std::numeric_limits<std::uint64_t>::max();
}

void WorkProgress::step() {
    // The count may run past the estimate: 100 waits for finish().
    const auto percent = static_cast<int>(std::min<std::uint64_t>(done_ * 100 / total_, 99));
    nextAt_ = percent >= 99 ? std::numeric_limits<std::uint64_t>::max()
                            : (static_cast<std::uint64_t>(percent + 1) * total_ + 99) / 100;
    if (percent > percent_) report(percent);
}

void WorkProgress::finish() {
    if (listener_ && percent_ < 100) report(100);
    nextAt_ = std::numeric_limits<std::uint64_t>::max();
}

void WorkProgress::report(int percent) {
    percent_ = percent;
    listener_(percent);
}

namespace {

// Value 1 of the first child named `name`, when it is a whole number.
std::int64_t countOf(const clsReader& node, std::string_view name) {
    const NodePtr block = node.Find(name);
    if (!block || block->Strings().empty()) return 0;
    return toWholeNumber(block->Strings()[0].view()).value_or(0);
}

}  // namespace

std::uint64_t trilistTriangles(const clsReader& trilist) {
    const NodePtr indices = trilist.Find(blocks::vertex_idxs);
    return indices ? indices->Strings().size() / 3 : 0;
}

std::uint64_t checkWorkOf(const clsReader& root, std::int32_t maxPrimFaces, std::int32_t maxObjectPolys) {
    const NodePtr lodControls = root.Find(blocks::lod_controls);
    const NodePtr lodControl = lodControls ? lodControls->Find(blocks::lod_control) : nullptr;
    const NodePtr levels = lodControl ? lodControl->Find(blocks::distance_levels) : nullptr;
    if (!levels) return 0;
    std::uint64_t work = 0;
    for (const NodePtr& level : levels->Nodes()) {
        if (level->Name != blocks::distance_level) continue;
        const NodePtr subObjects = level->Find(blocks::sub_objects);
        if (!subObjects) continue;
        for (const NodePtr& subObject : subObjects->Nodes()) {
            if (subObject->Name != blocks::sub_object) continue;
            const NodePtr primitives = subObject->Find(blocks::primitives);
            if (!primitives) continue;
            std::uint64_t triangles = 0;
            for (const NodePtr& primitive : primitives->Nodes()) {
                if (primitive->Name != blocks::indexed_trilist) continue;
                const std::uint64_t own = trilistTriangles(*primitive);
                triangles += own;
                if (countOf(*primitive, blocks::normal_idxs) > maxPrimFaces) work += own;
            }
            work += triangles;
            const NodePtr header = subObject->Find(blocks::sub_object_header);
            if (header && countOf(*header, blocks::geometry_info) > maxObjectPolys) work += triangles;
        }
    }
    return work;
}

}  // namespace orvane

#include "fixes/repair_trace.h"

#include <algorithm>
#include <utility>

namespace orvane {

void RepairTrace::recordSplit(const std::vector<NodePtr>& parts) {
    const auto count = static_cast<std::int32_t>(parts.size());
    for (std::int32_t i = 0; i < count; ++i) {
        const NodePtr& part = parts[static_cast<std::size_t>(i)];
        pieces[part.get()] = Piece{splits, i + 1, count};
        held.push_back(part);
    }
    ++splits;
}

void RepairTrace::recordSubObject(const NodePtr& copy) {
    madeSubObjects.insert(copy.get());
    held.push_back(copy);
}

void RepairTrace::recordCopy(const clsReader& from, const NodePtr& to) {
    if (pieces.empty()) return;
    std::vector<std::pair<const clsReader*, NodePtr>> pending{{&from, to}};
    while (!pending.empty()) {
        auto [source, copy] = std::move(pending.back());
        pending.pop_back();
        if (const auto traced = pieces.find(source); traced != pieces.end()) {
            const Piece piece = traced->second;  // the insertion below may move the map's entries
            pieces[copy.get()] = piece;
            held.push_back(copy);
        }
        const NodeList& sourceChildren = source->Nodes();
        const NodeList& copyChildren = copy->Nodes();
        const std::size_t both = std::min(sourceChildren.size(), copyChildren.size());
        for (std::size_t i = 0; i < both; ++i) pending.emplace_back(sourceChildren[i].get(), copyChildren[i]);
    }
}

}  // namespace orvane

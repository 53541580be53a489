#include "fixes/shape_places.h"

#include "document/block_layout.h"

namespace orvane {

namespace {

// 0-based position of node among its parent's children named `name`, or -1.
std::int64_t positionAmong(const clsReader& node, std::string_view name) {
    NodePtr parent = node.Parent();
    if (!parent) return -1;
    std::int64_t position = 0;
    for (const NodePtr& child : parent->Nodes()) {
        if (child.get() == &node) return position;
        if (child->Name == name) ++position;
    }
    return -1;
}

std::string numberedPlace(std::string_view word, std::int64_t position) {
    if (position < 0) return "a " + std::string(word) + " outside the LOD hierarchy";
    return std::string(word) + " " + std::to_string(position);
}

}  // namespace

std::string lodPlace(const clsReader& level) {
    return numberedPlace("LOD", positionAmong(level, blocks::distance_level));
}

std::string subObjectPlace(const clsReader& subObject) {
    std::string place = numberedPlace("sub-object", positionAmong(subObject, blocks::sub_object));
    NodePtr subObjects = subObject.Parent();
    NodePtr level = subObjects ? subObjects->Parent() : nullptr;
    if (level && level->Name == blocks::distance_level) place += " of " + lodPlace(*level);
    return place;
}

std::string ownerSubObjectPlace(const clsReader& block) {
    NodePtr owner = block.Parent();
    if (!owner) return "a sub-object";
    return subObjectPlace(*owner);
}

std::string primitivePlace(const clsReader& trilist, std::int32_t primitiveNumber) {
    NodePtr primitives = trilist.Parent();
    std::string place = "primitive " + std::to_string(primitiveNumber);
    if (primitives) place += " of " + ownerSubObjectPlace(*primitives);
    return place;
}

}  // namespace orvane

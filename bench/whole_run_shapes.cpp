#include "whole_run_shapes.h"

#include <unistd.h>

namespace orvane::bench {

namespace {

RunShape runShape(std::string name, std::int64_t triangles, int subObjects) {
    RunShape shape;
    shape.name = std::move(name);
    auto& p = shape.params;
    p.triangles = triangles;
    p.lods = 2;
    p.subObjects = subObjects;
    p.geometryNodesPerSubObject = 8;
    p.trianglesPerPrimitive = 4000;  // over the default 2800: every full primitive is split
    p.shortEdgeFraction = 0.001;
    p.animation = test::GeneratedAnimation::Frames;
    p.animationFrames = 16;  // at 30 fps: the run retimes it to 60
    p.framesPerSecond = 30;
    return shape;
}

}  // namespace

std::vector<RunShape> wholeRunShapes() {
    // 100k: two sub-objects per LOD, 33,000 polygons over 8 geometry nodes of
    // 4,200 in the first LOD; 1M: eight, 83,000 polygons over nodes of
    // 10,400. Both are divisible at the default limits and their nodes'
    // primitives of 4,000 triangles are oversized.
    RunShape small = runShape("5k", 5000, 1);
    small.params.lods = 1;
    small.params.geometryNodesPerSubObject = 4;
    // 5,000 polygons and primitives of 1,250: oversized only at these limits.
    small.limits.maxPrimFaces = 1000;
    small.limits.maxObjectPolys = 2000;
    return {small, runShape("100k", 100000, 2), runShape("1M", 1000000, 8)};
}

RunShape onePrimitiveShape() {
    RunShape shape = runShape("1M-one-primitive", 1000000, 1);
    shape.params.lods = 1;
    shape.params.geometryNodesPerSubObject = 1;
    shape.params.trianglesPerPrimitive = 1000000;
    shape.params.animation = test::GeneratedAnimation::None;
    return shape;
}

RunShape fiftyNodeShape() {
    RunShape shape = runShape("1M-50-nodes", 1000000, 1);
    shape.params.lods = 1;
    shape.params.geometryNodesPerSubObject = 50;
    shape.params.trianglesPerPrimitive = 2000;
    shape.params.animation = test::GeneratedAnimation::None;
    // Nodes of 20,000 polygons: at this limit the first 25 stay and 25 move.
    shape.limits.maxObjectPolys = 500000;
    return shape;
}

ShapeFolder& ShapeFolder::instance() {
    static ShapeFolder folder;
    return folder;
}

ShapeFolder::ShapeFolder()
    : folder_(std::filesystem::temp_directory_path() / ("orvane-run-bench-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(folder_);
}

ShapeFolder::~ShapeFolder() {
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
}

const std::filesystem::path& ShapeFolder::path(const RunShape& shape) {
    auto it = made_.find(shape.name);
    if (it != made_.end()) return it->second;
    const auto file = folder_ / ("shape_" + shape.name + ".s");
    test::writeGeneratedShape(file, shape.params);
    return made_.emplace(shape.name, file).first->second;
}

}  // namespace orvane::bench

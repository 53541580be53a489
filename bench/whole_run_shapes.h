#pragma once
// The generated shapes the whole-run benchmark works on, and the limits a
// run on each of them uses.

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "fixes/run_state.h"
#include "generator/shape_generator.h"

namespace orvane::bench {

struct RunShape {
    std::string name;  // as it appears in benchmark names: "5k", "100k", "1M", ...
    test::ShapeParameters params;
    RunLimits limits;
};

// The three shapes of the whole run: oversized primitives, oversized
// sub-objects that can be divided, short edges and a 30 fps animation.
std::vector<RunShape> wholeRunShapes();
// One sub-object of one geometry node holding one 1,000,000-triangle primitive.
RunShape onePrimitiveShape();
// One 1,000,000-polygon sub-object over 50 geometry nodes, no oversized primitive.
RunShape fiftyNodeShape();

// Generates shapes on first use into one temporary folder, removed at exit.
class ShapeFolder {
public:
    static ShapeFolder& instance();
    const std::filesystem::path& path(const RunShape& shape);
    std::filesystem::path scratch(const std::string& name) const { return folder_ / name; }
    ~ShapeFolder();

private:
    ShapeFolder();
    std::filesystem::path folder_;
    std::map<std::string, std::filesystem::path> made_;
};

}  // namespace orvane::bench

#include "batch/batch_route.h"

#include <algorithm>
#include <cctype>
#include <sstream>
#include <string_view>

#include <gtest/gtest.h>

#include "generator/sample_shapes.h"
#include "generator/shape_generator.h"
#include "support/shape_files.h"

namespace orvane::test {

namespace {

std::string replaceFirst(std::string text, std::string_view from, std::string_view to) {
    text.replace(text.find(from), from.size(), to);
    return text;
}

}  // namespace

std::vector<batch::FoundShape> shapesUnder(const std::filesystem::path& folder) {
    std::string error;
    auto shapes = batch::findShapes({folder.string()}, error);
    EXPECT_TRUE(shapes) << error;
    return shapes ? *shapes : std::vector<batch::FoundShape>{};
}

void writeShapeNames(const std::filesystem::path& folder, int count, bool retimed) {
    ShapeParameters params;
    params.triangles = 20000;
    if (retimed) {
        params.animation = GeneratedAnimation::Frames;
        params.animationFrames = 15;
    }
    writeGeneratedShape(folder / "s0.s", params);
    for (int i = 1; i < count; ++i) std::filesystem::create_hard_link(folder / "s0.s", folder / ("s" + std::to_string(i) + ".s"));
}

void writeMixedRoute(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    writeShape(folder / "ok.s", smallShape());
    writeShape(folder / "retimed.s", smallShape(animationBlock(15, 30)));
    writeBytes(folder / "compressed.s", std::string("SIMISA@F\x10\x00\x00\x00@@@@\x78\x9c", 14));
    writeShape(folder / "stopped.s", replaceFirst(smallShape(), "normal_idxs ( 2", "normal_idxs ( two"));
    writeShape(folder / "blocked.s", smallShape(animationBlock(15, 30)));
    std::filesystem::create_directory(folder / "blocked.sfixed");
}

std::string shapeWithVertices(std::int64_t vertices) {
    const std::string vertex = "\t\t\t\t\t\t\t\tvertex ( 00000000 0 0 ff969696 ff808080 vertex_uvs ( 1 0 ) )\r\n";
    std::string extra;
    extra.reserve(static_cast<std::size_t>(vertices - 4) * vertex.size());
    for (std::int64_t i = 4; i < vertices; ++i) extra += vertex;
    std::string body = replaceFirst(smallShape(), "vertices ( 4\r\n", "vertices ( " + std::to_string(vertices) + "\r\n");
    return replaceFirst(body, "\t\t\t\t\t\t\t)\r\n\t\t\t\t\t\t\tvertex_sets", extra + "\t\t\t\t\t\t\t)\r\n\t\t\t\t\t\t\tvertex_sets");
}

RunFigures figuresFromReport(const std::string& report) {
    RunFigures f;
    std::istringstream lines(report);
    std::string line;
    auto numberAfterTab = [](const std::string& text, std::size_t from) {
        return static_cast<std::int64_t>(std::stoll(text.substr(text.find('\t', from) + 1)));
    };
    while (std::getline(lines, line)) {
        if (line.starts_with("LOD Distance\t")) {
            ++f.lods;
        } else if (line.starts_with("Sub Object ")) {
            ++f.subObjects;
            f.largestSubObjectPolygons = std::max(f.largestSubObjectPolygons, numberAfterTab(line, 0));
            if (line.find("Oversized sub-object") != std::string::npos) ++f.oversizeSubObjects;
        } else if (line.starts_with("\t\tPoly")) {
            ++f.shortEdges;
        } else if (line.size() > 2 && line.starts_with("\t\t") && std::isdigit(static_cast<unsigned char>(line[2]))) {
            const std::int64_t faces = numberAfterTab(line, 2);
            ++f.primitives;
            f.triangles += faces;
            f.largestPrimitiveFaces = std::max(f.largestPrimitiveFaces, faces);
            if (line.find("Oversized primitive") != std::string::npos) ++f.oversizePrimitives;
        } else if (line == "Redundant animation section removed") {
            f.animation = RunFigures::Animation::Removed;
        } else if (line.starts_with("Animation FPS corrected")) {
            f.animation = RunFigures::Animation::Retimed;
        }
    }
    return f;
}

}  // namespace orvane::test

#pragma once
// Synthetic MSTS shapes for tests and benchmarks: realistic block layout,
// exporter-like numbers, a chosen number of triangles, and counts that are
// consistent the way the checks and repairs rely on. Deterministic: the
// same parameters give the same text.
//
// The text is laid out exactly as the shape writer lays out a tree, so a
// generated file read and written again gives the same bytes.

#include <cstdint>
#include <filesystem>
#include <string>

namespace orvane::test {

enum class GeneratedAnimation {
    None,       // no animations block
    Frames,     // one animation of `animationFrames` at `framesPerSecond`, every node moving
    Redundant,  // one animation whose nodes all have "controllers ( 0 )"
};

struct ShapeParameters {
    std::int64_t triangles = 1000;  // over all LODs
    int lods = 1;                   // LOD k holds about half the triangles of LOD k - 1
    int subObjects = 1;             // per LOD
    int geometryNodesPerSubObject = 2;
    int trianglesPerPrimitive = 2000;  // faces of one indexed_trilist at most
    double shortEdgeFraction = 0.0;    // triangles with two points 1 mm apart
    GeneratedAnimation animation = GeneratedAnimation::None;
    int animationFrames = 8;
    int framesPerSecond = 30;
    std::uint64_t seed = 1;
};

// What a generated shape holds.
struct ShapeStats {
    std::int64_t triangles = 0;
    std::int64_t shortEdgeTriangles = 0;  // each has exactly one edge of 1 mm
    std::int64_t points = 0;              // = vertices, one point per vertex
    std::int64_t primitives = 0;          // indexed_trilist blocks
    std::int64_t matrices = 0;            // = geometry nodes per sub-object
};

// The body of the shape (everything after the header line) as UTF-8.
std::string generateShapeBody(const ShapeParameters& params, ShapeStats* stats = nullptr);

// A complete shape file: byte-order mark, kHeader, then the body, in
// UTF-16LE; written as it is generated, so large shapes need little memory.
ShapeStats writeGeneratedShape(const std::filesystem::path& path, const ShapeParameters& params);

}  // namespace orvane::test

#pragma once
// Reads the corners of triangles for the small-edge check: the point a
// vertex stands on (value 2 of the vertex) and a point's coordinates.
//
// Each vertex and each point is parsed from the tree once and kept, so a
// survey of a large shape does not parse the same texts again for every
// triangle: the survey keeps one reader for its whole walk. A point
// rewritten by a lift must be forgotten, so that it is read afresh; what the
// reader answers is then always what reading the tree would give (vertices
// are never changed while the survey runs).

#include <cstdint>
#include <string>
#include <vector>

#include "document/cls_reader.h"

namespace orvane {

struct PointXyz {
    float x = 0;
    float y = 0;
    float z = 0;
};

class CornerReader {
public:
    // The point index of vertex `vertex` (0-based) of the vertices block.
    // Throws ShapeError for a vertex outside the block or a point index that
    // is not a whole number; `polyNumber` names the triangle in the message.
    std::int32_t pointOf(const clsReader& vertices, std::int32_t vertex, std::int32_t polyNumber);

    // Point `number` (0-based) of the points block. Throws ShapeError for a
    // number outside the block or a coordinate that is not a number;
    // `vertex` of `vertices` is the one that asked, for the message.
    PointXyz read(const clsReader& points, std::int32_t number, const clsReader& vertices, std::int32_t vertex);

    // Point `number` was rewritten in the tree: read it afresh next time.
    void forget(std::int32_t number);

private:
    const clsReader* pointsBlock_ = nullptr;
    std::vector<PointXyz> xyz_;
    std::vector<unsigned char> pointKnown_;
    const clsReader* verticesBlock_ = nullptr;
    std::vector<std::int64_t> pointOfVertex_;  // kUnknown until read
};

}  // namespace orvane

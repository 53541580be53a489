#include "fixes/corner_reader.h"

#include "document/block_layout.h"
#include "document/numbers.h"
#include "document/shape_error.h"
#include "document/value_errors.h"
#include "fixes/shape_places.h"

namespace orvane {

namespace {

constexpr std::int64_t kUnknown = INT64_MIN;

std::string vertexUser(const clsReader& vertices, std::int32_t vertex) {
    return "vertex " + std::to_string(vertex) + " of " + ownerSubObjectPlace(vertices);
}

[[noreturn]] void throwVertexOutside(const clsReader& vertices, std::int32_t vertex, std::int32_t polyNumber) {
    std::string where = vertex < 0 ? " is not one of the " : " is beyond the ";
    throw ShapeError("vertex index " + std::to_string(vertex) + " of Poly" + std::to_string(polyNumber) + where +
                     std::to_string(vertices.Nodes().size()) + " vertices of " + ownerSubObjectPlace(vertices));
}

[[noreturn]] void throwPointOutside(const clsReader& points, std::int32_t number, const clsReader& vertices,
                                    std::int32_t vertex) {
    std::string where = number < 0 ? " is not one of the " : " is beyond the ";
    throw ShapeError("point index " + std::to_string(number) + " of " + vertexUser(vertices, vertex) + where +
                     std::to_string(points.Nodes().size()) + " points of the shape");
}

[[noreturn]] void throwBadPoint(const clsReader& point, std::int32_t number, const clsReader& vertices,
                                std::int32_t vertex) {
    static const char* const kAxes[] = {"x", "y", "z"};
    const StringList& values = point.Strings();
    const std::string user = " (used by " + vertexUser(vertices, vertex) + ")";
    for (std::size_t i = 0; i < 3; ++i) {
        if (i >= values.size())
            throw ShapeError("point " + std::to_string(number) + user + " has no " + kAxes[i] + " coordinate");
        if (!toSingle(values[i].view()))
            throw ShapeError(std::string("the ") + kAxes[i] + " coordinate " + quoted(values[i].view()) +
                             " of point " + std::to_string(number) + user + " is not a number");
    }
    throw ShapeError("point " + std::to_string(number) + user + " cannot be read");
}

std::int32_t parsePointOf(const clsReader& vertices, std::int32_t vertex) {
    const clsReader& node = *vertices.Nodes()[static_cast<std::size_t>(vertex)];
    const StringList& values = node.Strings();
    if (values.size() >= 2)
        if (auto point = toWholeNumber(values[1].view())) return *point;
    return blocks::wholeValue(node, 2, "the point index", [&] { return vertexUser(vertices, vertex); });
}

PointXyz parsePoint(const clsReader& point, std::int32_t number, const clsReader& vertices, std::int32_t vertex) {
    const StringList& values = point.Strings();
    if (values.size() >= 3) {
        auto x = toSingle(values[0].view());
        auto y = toSingle(values[1].view());
        auto z = toSingle(values[2].view());
        if (x && y && z) return {*x, *y, *z};
    }
    throwBadPoint(point, number, vertices, vertex);
}

}  // namespace

std::int32_t CornerReader::pointOf(const clsReader& vertices, std::int32_t vertex, std::int32_t polyNumber) {
    const NodeList& nodes = vertices.Nodes();
    if (vertex < 0 || static_cast<std::size_t>(vertex) >= nodes.size()) throwVertexOutside(vertices, vertex, polyNumber);
    if (&vertices != verticesBlock_ || nodes.size() != pointOfVertex_.size()) {
        verticesBlock_ = &vertices;
        pointOfVertex_.assign(nodes.size(), kUnknown);
    }
    std::int64_t& known = pointOfVertex_[static_cast<std::size_t>(vertex)];
    if (known == kUnknown) known = parsePointOf(vertices, vertex);
    return static_cast<std::int32_t>(known);
}

PointXyz CornerReader::read(const clsReader& points, std::int32_t number, const clsReader& vertices,
                            std::int32_t vertex) {
    const NodeList& nodes = points.Nodes();
    if (number < 0 || static_cast<std::size_t>(number) >= nodes.size())
        throwPointOutside(points, number, vertices, vertex);
    const auto slot = static_cast<std::size_t>(number);
    if (&points != pointsBlock_ || nodes.size() != pointKnown_.size()) {
        pointsBlock_ = &points;
        xyz_.assign(nodes.size(), PointXyz{});
        pointKnown_.assign(nodes.size(), 0);
    }
    if (!pointKnown_[slot]) {
        xyz_[slot] = parsePoint(*nodes[slot], number, vertices, vertex);
        pointKnown_[slot] = 1;
    }
    return xyz_[slot];
}

void CornerReader::forget(std::int32_t number) {
    if (number >= 0 && static_cast<std::size_t>(number) < pointKnown_.size())
        pointKnown_[static_cast<std::size_t>(number)] = 0;
}

}  // namespace orvane

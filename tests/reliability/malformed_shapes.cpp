#include "reliability/malformed_shapes.h"

#include <stdexcept>

#include "generator/shape_generator.h"

namespace orvane::test {

const std::string& repairableShapeBody() {
    static const std::string body = [] {
        ShapeParameters params;
        params.triangles = 12;
        params.trianglesPerPrimitive = 6;
        params.geometryNodesPerSubObject = 2;
        params.shortEdgeFraction = 0.25;
        params.animation = GeneratedAnimation::Frames;
        params.animationFrames = 15;
        params.framesPerSecond = 30;
        return generateShapeBody(params);
    }();
    return body;
}

std::string replaceFirst(std::string text, std::string_view from, std::string_view to) {
    const std::size_t at = text.find(from);
    if (at == std::string::npos) throw std::logic_error("the shape holds no \"" + std::string(from) + "\"");
    return text.replace(at, from.size(), to);
}

std::string emptyFirstBlock(std::string text, std::string_view head) {
    const std::size_t at = text.find(head);
    if (at == std::string::npos || head.back() != '(')
        throw std::logic_error("the shape holds no block \"" + std::string(head) + "\"");
    const std::size_t open = at + head.size() - 1;
    int depth = 0;
    for (std::size_t i = open; i < text.size(); ++i) {
        if (text[i] == '(') ++depth;
        if (text[i] == ')' && --depth == 0) return text.replace(open + 1, i - open - 1, " ");
    }
    throw std::logic_error("the block \"" + std::string(head) + "\" is not closed");
}

}  // namespace orvane::test

#include "findings/find_problems.h"

#include "findings/collector.h"

namespace orvane::findings {

std::int64_t ShapeFindings::total() const {
    std::int64_t sum = 0;
    for (std::int64_t count : perKind) sum += count;
    return sum;
}

ShapeFindings findProblems(const clsReader& root, const TextureSearch& textures) {
    ShapeFindings findings;
    Collector found(findings);
    findReferenceProblems(root, found);
    findCountProblems(root, found);
    findAnimationProblems(root, found);
    findTextureProblems(root, textures, found);
    return findings;
}

}  // namespace orvane::findings

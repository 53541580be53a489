// Animations: keys beyond the animation's frame count, and animation nodes
// whose name no matrix has or more than one matrix has. Animation nodes
// move the matrices of their name.

#include <unordered_map>
#include <utility>

#include "findings/collector.h"

namespace orvane::findings {

namespace {

bool isKey(std::string_view name) { return name == "linear_key" || name == "tcb_key" || name == "slerp_rot"; }

}  // namespace

void findAnimationProblems(const clsReader& root, Collector& found) {
    const clsReader* animations = childNamed(root, "animations");
    if (!animations) return;
    std::unordered_map<std::string_view, std::int64_t> matrixNames;
    if (const clsReader* matrices = childNamed(root, "matrices"))
        for (const NodePtr& matrix : matrices->Nodes()) ++matrixNames[matrix->Text().view()];

    std::int64_t number = 0;
    for (const NodePtr& animation : animations->Nodes()) {
        if (animation->Name.view() != "animation") continue;
        const std::int64_t animationNumber = number++;
        const ShapeText* framesText = valueAt(*animation, 1);
        const std::optional<std::int64_t> frames = framesText ? wholeValue(framesText->view()) : std::nullopt;
        const clsReader* nodes = childNamed(*animation, "anim_nodes");
        if (!nodes) continue;
        std::int64_t nodeNumber = 0;
        for (const NodePtr& node : nodes->Nodes()) {
            if (node->Name.view() != "anim_node") continue;
            const std::int64_t index = nodeNumber++;
            const std::string_view name = node->Text().view();
            const auto named = matrixNames.find(name);
            const Place nodePlace = blockPlace("anim_node", index);
            if (named == matrixNames.end()) {
                found.add(Kind::AnimatedNameWithoutMatrix, nodePlace, [&] {
                    return "animation " + std::to_string(animationNumber) + " moves " + quotedText(name) +
                           ", which no matrix is named";
                });
            } else if (named->second > 1) {
                found.add(Kind::DuplicateMatrixName, nodePlace, [&] {
                    return "animation " + std::to_string(animationNumber) + " moves " + quotedText(name) + ", which " +
                           std::to_string(named->second) + " matrices are named";
                });
            }
            const clsReader* controllers = childNamed(*node, "controllers");
            if (!controllers || !frames) continue;
            for (const NodePtr& controller : controllers->Nodes()) {
                std::int64_t keyNumber = 0;
                for (const NodePtr& key : std::as_const(*controller).Nodes()) {
                    const std::int64_t keyIndex = keyNumber++;
                    if (!isKey(key->Name.view())) continue;
                    const ShapeText* frameText = valueAt(*key, 1);
                    const auto frame = frameText ? wholeValue(frameText->view()) : std::nullopt;
                    // Keys run from frame 0 to the frame count itself.
                    if (!frame || *frame <= *frames) continue;
                    const Place at = blockPlace(std::string(key->Name.view()), keyIndex, 1);
                    found.add(Kind::KeyPastFrameCount, at, [&] {
                        return "animation " + std::to_string(animationNumber) + " has " + framesText->str() +
                               " frames, but node " + quotedText(name) + " has a key at frame " + frameText->str();
                    });
                }
            }
        }
    }
}

}  // namespace orvane::findings

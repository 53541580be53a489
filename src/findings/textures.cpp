// Textures: every image the shape names must be in one of its texture
// folders, and in the letter case the shape names it (case-sensitive
// systems find nothing else).

#include "findings/collector.h"

namespace orvane::findings {

void findTextureProblems(const clsReader& root, const TextureSearch& textures, Collector& found) {
    if (textures.folders.empty() || !textures.listings) return;
    const clsReader* images = childNamed(root, "images");
    if (!images) return;
    std::int64_t index = 0;
    for (const NodePtr& image : images->Nodes()) {
        const std::int64_t number = index++;
        if (image->Name.view() != "image") continue;
        const ShapeText* nameText = valueAt(*image, 1);
        if (!nameText) continue;
        std::string_view name = nameText->view();
        if (name.size() >= 2 && name.front() == '"' && name.back() == '"') name = name.substr(1, name.size() - 2);
        const TextureMatch match = textures.listings->find(textures.folders, name);
        const Place at = blockPlace("image", number, 1);
        if (match.how == TextureMatch::How::Missing) {
            found.add(Kind::TextureNotFound, at, [&] {
                std::string where;
                for (const auto& folder : textures.folders) {
                    const std::u8string text = folder.generic_u8string();
                    where += (where.empty() ? "" : ", ") + std::string(text.begin(), text.end());
                }
                return "texture " + quotedText(name) + " is in none of " + where;
            });
        } else if (match.how == TextureMatch::How::OtherCase) {
            found.add(Kind::TextureLetterCase, at, [&] {
                return "texture " + quotedText(name) + " is there only as " + quotedText(match.nameOnDisk);
            });
        }
    }
}

}  // namespace orvane::findings

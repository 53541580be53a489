#pragma once
// Texture folders of a shape and what they hold. The simulators look for a
// route's textures in the TEXTURES folder beside its SHAPES folder, and for
// rolling stock (a folder holding an .eng or .wag file) in the shape's own
// folder. Names are matched as Windows matches them, without regard to
// letter case.

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace orvane::findings {


// ASCII letters in lower case, all else as it is.
std::string lowerCase(std::string_view text);

struct TextureMatch {
    enum class How { Found, OtherCase, Missing } how = How::Missing;
    std::string nameOnDisk;  // for OtherCase: the file's own name
};

// The listings of texture folders, each read once and then kept; safe to
// use from several threads at once.
class TextureFolders {
public:
    // The folders where the shape's textures are looked for, in order: the
    // route's or the stock's folder when the shape stands in one, then
    // `given`.
    std::vector<std::filesystem::path> foldersFor(const std::filesystem::path& shapeFile,
                                                  const std::vector<std::filesystem::path>& given) const;

    // Looks for the file `name` (its last path part) in each folder.
    TextureMatch find(const std::vector<std::filesystem::path>& folders, std::string_view name) const;

private:
    struct Listing {
        std::unordered_map<std::string, std::string> byLowerName;  // lower case -> name on disk
        std::unordered_set<std::string> exact;                      // names on disk
        bool holdsStock = false;  // an .eng or .wag file
    };
    const Listing& listing(const std::filesystem::path& folder) const;

    mutable std::mutex mutex_;
    mutable std::map<std::filesystem::path, std::unique_ptr<Listing>> listings_;
};

// TextureFolders().foldersFor, for one shape.
std::vector<std::filesystem::path> textureFoldersFor(const std::filesystem::path& shapeFile,
                                                     const std::vector<std::filesystem::path>& given);

}  // namespace orvane::findings

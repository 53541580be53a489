#include "findings/texture_folders.h"

#include <optional>
#include <system_error>

namespace orvane::findings {

namespace {

namespace fs = std::filesystem;

std::string utf8Name(const fs::path& path) {
    const std::u8string name = path.filename().u8string();
    return std::string(name.begin(), name.end());
}

bool isFolder(const fs::path& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

// The entry of folder named `name` in any letter case, or none.
std::optional<fs::path> entryInAnyCase(const fs::path& folder, std::string_view name) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (lowerCase(utf8Name(it->path())) == name) return it->path();
    return std::nullopt;
}

// Whether the folder holds an .eng or .wag file: rolling stock.
bool holdsStock(const fs::path& folder) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string extension = lowerCase(utf8Name(it->path().extension()));
        if ((extension == ".eng" || extension == ".wag") && it->is_regular_file(ec)) return true;
    }
    return false;
}

}  // namespace

std::string lowerCase(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

std::vector<fs::path> textureFoldersFor(const fs::path& shapeFile, const std::vector<fs::path>& given) {
    std::vector<fs::path> folders;
    const fs::path folder = shapeFile.parent_path().empty() ? fs::path(".") : shapeFile.parent_path();
    if (lowerCase(utf8Name(folder)) == "shapes") {
        if (auto textures = entryInAnyCase(folder.parent_path().empty() ? fs::path("..") : folder.parent_path(),
                                           "textures");
            textures && isFolder(*textures))
            folders.push_back(*textures);
    } else if (holdsStock(folder)) {
        folders.push_back(folder);
    }
    folders.insert(folders.end(), given.begin(), given.end());
    return folders;
}

TextureMatch TextureFolders::find(const std::vector<fs::path>& folders, std::string_view name) const {
    if (const auto slash = name.find_last_of("/\\"); slash != std::string_view::npos) name.remove_prefix(slash + 1);
    const std::string lower = lowerCase(name);
    TextureMatch match;
    for (const fs::path& folder : folders) {
        const Listing& files = listing(folder);
        if (files.exact.count(std::string(name))) return {TextureMatch::How::Found, {}};
        if (match.how == TextureMatch::How::Missing)
            if (auto it = files.byLowerName.find(lower); it != files.byLowerName.end())
                match = {TextureMatch::How::OtherCase, it->second};
    }
    return match;
}

const TextureFolders::Listing& TextureFolders::listing(const fs::path& folder) const {
    std::lock_guard lock(mutex_);
    std::unique_ptr<Listing>& entry = listings_[folder];
    if (!entry) {
        entry = std::make_unique<Listing>();
        std::error_code ec;
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            std::string name = utf8Name(it->path());
            entry->byLowerName.emplace(lowerCase(name), name);
            entry->exact.insert(std::move(name));
        }
    }
    return *entry;
}

}  // namespace orvane::findings

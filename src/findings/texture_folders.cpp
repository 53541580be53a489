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

}  // namespace

std::string lowerCase(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

std::vector<fs::path> TextureFolders::foldersFor(const fs::path& shapeFile, const std::vector<fs::path>& given) const {
    std::vector<fs::path> folders;
    const fs::path folder = shapeFile.parent_path().empty() ? fs::path(".") : shapeFile.parent_path();
    if (lowerCase(utf8Name(folder)) == "shapes") {
        const fs::path route = folder.parent_path().empty() ? fs::path("..") : folder.parent_path();
        const Listing& beside = listing(route);
        if (auto it = beside.byLowerName.find("textures"); it != beside.byLowerName.end()) {
            const fs::path textures = route / fs::path(std::u8string(it->second.begin(), it->second.end()));
            if (isFolder(textures)) folders.push_back(textures);
        }
    } else if (listing(folder).holdsStock) {
        folders.push_back(folder);
    }
    folders.insert(folders.end(), given.begin(), given.end());
    return folders;
}

std::vector<fs::path> textureFoldersFor(const fs::path& shapeFile, const std::vector<fs::path>& given) {
    return TextureFolders().foldersFor(shapeFile, given);
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
            std::string lower = lowerCase(name);
            if (lower.ends_with(".eng") || lower.ends_with(".wag")) entry->holdsStock = true;
            entry->byLowerName.emplace(std::move(lower), name);
            entry->exact.insert(std::move(name));
        }
    }
    return *entry;
}

}  // namespace orvane::findings

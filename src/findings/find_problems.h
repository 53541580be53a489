#pragma once
// The findings pass: every finding of one shape, from its tree as read and
// before any repair. It changes nothing, takes time in proportion to the
// shape's size, and trusts no number in the shape.

#include <array>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "document/cls_reader.h"
#include "findings/finding.h"
#include "findings/texture_folders.h"

namespace orvane::findings {

struct ShapeFindings {
    // At most kMostListedPerKind of each kind, in the order found.
    std::vector<Finding> listed;
    // How many of each kind there are, listed or not (in the order of kKinds).
    std::array<std::int64_t, std::size(kKinds)> perKind{};
    std::int64_t total() const;
};

// A shape full of bad numbers would otherwise list millions.
inline constexpr std::int64_t kMostListedPerKind = 200;

// Where a shape's images are looked for; no folders: textures are not checked.
struct TextureSearch {
    const TextureFolders* listings = nullptr;
    std::vector<std::filesystem::path> folders;
};

ShapeFindings findProblems(const clsReader& root, const TextureSearch& textures = {});

}  // namespace orvane::findings

// Where a shape's textures are looked for, and what is found there.

#include <gtest/gtest.h>

#include "findings/find_problems.h"
#include "generator/sample_shapes.h"
#include "support/shape_files.h"

using namespace orvane;
using namespace orvane::findings;
using namespace orvane::test;
namespace fs = std::filesystem;

namespace {

void touch(const fs::path& file) {
    fs::create_directories(file.parent_path());
    writeBytes(file, "");
}

// The kinds found for a shape naming `image`, standing at shapeFile.
std::vector<Kind> textureKinds(const fs::path& shapeFile, const std::string& image,
                               const std::vector<fs::path>& given = {}) {
    const NodePtr root = readShape(smallShape("", "\timages ( 1 image ( " + image + " ) )\r\n"));
    TextureFolders listings;
    const ShapeFindings found = findProblems(*root, {&listings, textureFoldersFor(shapeFile, given)});
    std::vector<Kind> kinds;
    for (const Finding& f : found.listed) kinds.push_back(f.kind);
    return kinds;
}

const std::vector<Kind> kNone;
const std::vector<Kind> kMissing{Kind::TextureNotFound};

TEST(TextureFolders, RouteShapesUseTheTexturesFolderBeside) {
    TempDir dir;
    touch(dir / "route" / "textures" / "wall.ace");
    const fs::path shape = dir / "route" / "Shapes" / "house.s";
    EXPECT_EQ(textureFoldersFor(shape, {}), std::vector<fs::path>{dir / "route" / "textures"});
    EXPECT_EQ(textureKinds(shape, "wall.ace"), kNone);
    EXPECT_EQ(textureKinds(shape, "\"roof b.ace\""), kMissing);
}

TEST(TextureFolders, RollingStockUsesItsOwnFolder) {
    TempDir dir;
    touch(dir / "loco" / "loco.ENG");
    touch(dir / "loco" / "body.ace");
    EXPECT_EQ(textureKinds(dir / "loco" / "loco.s", "body.ace"), kNone);
    EXPECT_EQ(textureKinds(dir / "loco" / "loco.s", "cab.ace"), kMissing);
    // Neither a route nor stock: nothing to look in, nothing found.
    touch(dir / "loose" / "thing.s");
    EXPECT_TRUE(textureFoldersFor(dir / "loose" / "thing.s", {}).empty());
    EXPECT_EQ(textureKinds(dir / "loose" / "thing.s", "cab.ace"), kNone);
}

TEST(TextureFolders, GivenFoldersAreSearchedToo) {
    TempDir dir;
    touch(dir / "route" / "TEXTURES" / "wall.ace");
    touch(dir / "global" / "textures" / "signal.ace");
    const fs::path shape = dir / "route" / "SHAPES" / "post.s";
    EXPECT_EQ(textureKinds(shape, "signal.ace"), kMissing);
    EXPECT_EQ(textureKinds(shape, "signal.ace", {dir / "global" / "textures"}), kNone);
}

TEST(TextureFolders, ANameFoundOnlyInAnotherCaseIsHarmless) {
    TempDir dir;
    touch(dir / "route" / "TEXTURES" / "Wall.ACE");
    const std::vector<Kind> kinds = textureKinds(dir / "route" / "SHAPES" / "house.s", "wall.ace");
    EXPECT_EQ(kinds, std::vector<Kind>{Kind::TextureLetterCase});
    EXPECT_EQ(severityOf(Kind::TextureLetterCase), Severity::Harmless);
}

}  // namespace

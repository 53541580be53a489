// orvane-cli --picture and --pictures, run as whole processes.

#include <gtest/gtest.h>

#include "generator/shape_generator.h"
#include "support/cli_process.h"
#include "support/shape_files.h"

namespace orvane::test {
namespace {

// Width and height from a PNG's header, or none when it is no PNG.
std::optional<std::pair<int, int>> pngSize(const std::string& bytes) {
    if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 || bytes.compare(12, 4, "IHDR") != 0)
        return std::nullopt;
    auto big = [&](std::size_t at) {
        int v = 0;
        for (std::size_t i = 0; i < 4; ++i) v = v * 256 + static_cast<unsigned char>(bytes[at + i]);
        return v;
    };
    return std::make_pair(big(16), big(20));
}

void writeSmallShape(const std::filesystem::path& file) {
    ShapeParameters params;
    params.triangles = 400;
    params.shortEdgeFraction = 0.01;
    writeGeneratedShape(file, params);
}

TEST(PictureCli, WritesAPngAfterAnUnchangedReport) {
    TempDir dir;
    writeSmallShape(dir / "a.s");
    const CliResult plain = runCli(dir.path(), "--report-only " + quoted(dir / "a.s"));
    const CliResult drawn = runCli(dir.path(), "--report-only --picture " + quoted(dir / "a.png") + " " + quoted(dir / "a.s"));
    EXPECT_EQ(drawn.status, 0);
    EXPECT_EQ(drawn.out, plain.out);
    EXPECT_EQ(pngSize(readBytes(dir / "a.png")), std::make_pair(1280, 800));

    const CliResult sized = runCli(dir.path(), "--report-only --view side --size 200x120 --picture " +
                                                   quoted(dir / "b.png") + " " + quoted(dir / "a.s"));
    EXPECT_EQ(sized.status, 0);
    EXPECT_EQ(pngSize(readBytes(dir / "b.png")), std::make_pair(200, 120));
}

TEST(PictureCli, AnUnreadableFileOrAMissingLodWritesNoPicture) {
    TempDir dir;
    writeBytes(dir / "bad.s", "no shape at all");
    EXPECT_EQ(runCli(dir.path(), "--picture " + quoted(dir / "bad.png") + " " + quoted(dir / "bad.s")).status, 1);
    EXPECT_FALSE(std::filesystem::exists(dir / "bad.png"));

    writeSmallShape(dir / "a.s");
    const CliResult noLod = runCli(dir.path(), "--report-only --lod 3 --picture " + quoted(dir / "a.png") + " " + quoted(dir / "a.s"));
    EXPECT_EQ(noLod.status, 4);
    EXPECT_NE(noLod.err.find("no LOD 3"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir / "a.png"));
}

TEST(PictureCli, BatchWritesOnePicturePerReadableShape) {
    TempDir dir;
    std::filesystem::create_directories(dir / "route/sub");
    writeSmallShape(dir / "route/a.s");
    writeSmallShape(dir / "route/sub/b.S");
    writeBytes(dir / "route/bad.s", "no shape at all");
    const CliResult batch = runCli(dir.path(), "--report-only --jobs 2 --pictures " + quoted(dir / "pictures") + " " +
                                                   quoted(dir / "route"));
    EXPECT_EQ(batch.status, 1);  // the unreadable one
    EXPECT_EQ(pngSize(readBytes(dir / "pictures/a.s.png")), std::make_pair(480, 300));
    EXPECT_EQ(pngSize(readBytes(dir / "pictures/sub/b.S.png")), std::make_pair(480, 300));
    EXPECT_FALSE(std::filesystem::exists(dir / "pictures/bad.s.png"));
}

TEST(PictureCli, PictureOptionsAreChecked) {
    TempDir dir;
    writeSmallShape(dir / "a.s");
    for (const char* options : {"--size 10x5000", "--size 300", "--view back", "--lod -1"})
        EXPECT_EQ(runCli(dir.path(), std::string(options) + " --picture x.png " + quoted(dir / "a.s")).status, 2) << options;
    EXPECT_EQ(runCli(dir.path(), "--picture x.png " + quoted(dir.path())).status, 2);
}

}  // namespace
}  // namespace orvane::test

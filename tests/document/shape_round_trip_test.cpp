// A shape read and written reads back into the same tree, and writing it
// again gives the same bytes: for tricky hand-made text, generated shapes
// and, when present, every shape of the real-shape corpus.

#include <gtest/gtest.h>

#include <string>

#include "document/cls_reader.h"
#include "support/tree_helpers.h"
#include "support/shape_files.h"
#include "generator/shape_generator.h"

using namespace orvane;
using namespace orvane::test;

namespace {

// Reads `path`, writes it, reads that back and writes again; the trees and
// the two written files must agree.
void expectRoundTrip(const std::filesystem::path& path, const TempDir& dir) {
    NodePtr first = readFileRecording(path);
    ASSERT_FALSE(first->Nodes().empty()) << path;
    first->SaveFile(dir / "once.s");
    NodePtr second = readFileRecording(dir / "once.s");
    EXPECT_EQ(treeDifference(*first, *second), "") << path;
    EXPECT_EQ(second->Header(), first->Header());
    second->SaveFile(dir / "twice.s");
    EXPECT_TRUE(readBytes(dir / "once.s") == readBytes(dir / "twice.s")) << path;
}

TEST(ShapeRoundTrip, TrickyTextKeepsEveryItem) {
    std::string body =
        "junk before shape\r\n"
        "shape (\r\n"
        "  prim_state label_1 ( 00000000 0 tex_idxs ( 1 0 ) 0 0 0 0 1 )\r\n"
        "  image ( \"Name with blanks (and parens).ace\" \"multi\r\nline\" ) after\r\n"
        "  matrix ( 1 0 0 ) 5 label ( ) abcdefgh tag ( x ) \t-1.5E-05\r\n"
        "  unicode ( B\xC3\xA4ume \xE5\xBD\xA2\xE7\x8A\xB6 \xF0\x9F\x98\x80 )\r\n"
        "  long (";
    for (int i = 0; i < 700; ++i) body += " -0.123456";
    body += " nested ( 1 ) 2 )\r\n)\r\ntrailing text ignored";
    TempDir dir;
    writeShape(dir / "tricky.s", body);
    expectRoundTrip(dir / "tricky.s", dir);
}

TEST(ShapeRoundTrip, GeneratedShapeWritesBackByteForByte) {
    ShapeParameters params;
    params.triangles = 20000;
    params.lods = 2;
    params.subObjects = 2;
    params.geometryNodesPerSubObject = 3;
    params.trianglesPerPrimitive = 3000;  // lines of vertex numbers run far past 1000 columns
    params.shortEdgeFraction = 0.01;
    params.animation = GeneratedAnimation::Frames;
    TempDir dir;
    writeGeneratedShape(dir / "generated.s", params);
    expectRoundTrip(dir / "generated.s", dir);
    // The generator lays out text as the writer does.
    EXPECT_TRUE(readBytes(dir / "generated.s") == readBytes(dir / "once.s"));
}

TEST(ShapeRoundTrip, EveryCorpusShape) {
    const std::filesystem::path corpus = ORVANE_CORPUS_DIR;
    if (!std::filesystem::is_directory(corpus)) GTEST_SKIP() << "no corpus at " << corpus;
    int shapes = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        if (entry.path().extension() != ".s") continue;
        ++shapes;
        TempDir dir;
        expectRoundTrip(entry.path(), dir);
    }
    EXPECT_GT(shapes, 0);
}

}  // namespace

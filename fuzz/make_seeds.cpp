// Writes the seed corpora of the fuzz targets: small consistent shapes from
// the project's generator (one per kind of repair the run makes) and the
// small hand-written shapes of the tests, plus a few odd texts for the
// document target. Run once after a change of the generator and commit the
// result:  make_fuzz_seeds fuzz/seeds

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "document/binary_shape_writer.h"
#include "document/cls_reader.h"
#include "generator/sample_shapes.h"
#include "generator/shape_files.h"
#include "generator/shape_generator.h"

using namespace orvane::test;

namespace {

struct GeneratedSeed {
    const char* name;
    ShapeParameters params;
};

std::vector<GeneratedSeed> generatedSeeds() {
    std::vector<GeneratedSeed> seeds;
    ShapeParameters plain;
    plain.triangles = 8;
    plain.trianglesPerPrimitive = 3;
    plain.geometryNodesPerSubObject = 1;  // the generator's smallest mesh
    seeds.push_back({"generated_plain.s", plain});

    ShapeParameters bigPrimitive = plain;
    bigPrimitive.trianglesPerPrimitive = 12;
    bigPrimitive.triangles = 12;
    seeds.push_back({"generated_oversized_primitive.s", bigPrimitive});

    ShapeParameters bigSubObject = plain;
    bigSubObject.triangles = 24;
    bigSubObject.geometryNodesPerSubObject = 2;
    seeds.push_back({"generated_oversized_sub_object.s", bigSubObject});

    ShapeParameters shortEdges = plain;
    shortEdges.shortEdgeFraction = 0.5;
    seeds.push_back({"generated_short_edges.s", shortEdges});

    ShapeParameters fps30 = plain;
    fps30.animation = GeneratedAnimation::Frames;
    fps30.animationFrames = 15;
    fps30.framesPerSecond = 30;
    seeds.push_back({"generated_30fps_animation.s", fps30});

    ShapeParameters redundant = plain;
    redundant.animation = GeneratedAnimation::Redundant;
    seeds.push_back({"generated_redundant_animation.s", redundant});

    ShapeParameters twoLods = plain;
    twoLods.triangles = 12;
    twoLods.lods = 2;
    seeds.push_back({"generated_two_lods.s", twoLods});
    return seeds;
}

// Texts that exercise the reader and writer rather than the repairs.
std::vector<std::pair<const char*, std::string>> documentSeeds() {
    std::string longLine = "shape ( values (";
    for (int i = 0; i < 300; ++i) longLine += " -0.123456";
    longLine += " ) tail )";
    std::string deep = "shape (";
    for (int i = 0; i < 40; ++i) deep += " a (";
    deep += " 1";
    for (int i = 0; i < 40; ++i) deep += " )";
    deep += " )";
    return {
        {"labels_and_quotes.s",
         "shape ( matrices ( 1 matrix MAIN ( 1 0 0 0 1 0 0 0 1 0 0 0 ) ) "
         "texture_filter_names ( 1 named_filter_mode ( MipLinear ) ) "
         "comment ( \"a (quoted) text\" x\"y \"\" ) 12345678 block ( ) )"},
        {"long_line.s", longLine},
        {"deep_nesting.s", deep},
        {"unbalanced.s", "shape ( a ( 1 2 ( b ( 3 ) ) ) ) ) c ( 4 )"},
        {"two_blocks_no_name.s", "shape ( points ( 1 point ( 0 0 0 ) ( 1 ) ) x"},
    };
}

void write(const std::filesystem::path& path, const std::string& body) {
    writeShape(path, body);
    std::printf("%s\n", path.string().c_str());
}

void writeRaw(const std::filesystem::path& path, const std::string& bytes) {
    writeBytes(path, bytes);
    std::printf("%s\n", path.string().c_str());
}

// Seeds of the forms target: a shape's binary tokens to be compressed, as
// uncompressed binary, and whole files (compressed, 8-bit text), each after
// the byte that picks the kind (see formsFile).
void writeFormSeeds(const std::filesystem::path& dir, const std::string& name, const std::filesystem::path& text) {
    orvane::NodePtr root = orvane::clsReader::create();
    root->ReadFile(text, true);
    const std::vector<unsigned char> tokens = orvane::binaryShapeTokens(*root);
    const std::string bytes(tokens.begin(), tokens.end());
    const std::vector<unsigned char> file = orvane::compressedShape(tokens);
    writeRaw(dir / (name + "_tokens_compressed"), '\0' + bytes);
    writeRaw(dir / (name + "_tokens_binary"), '\1' + bytes);
    writeRaw(dir / (name + "_compressed_file"), '\2' + std::string(file.begin(), file.end()));
    const std::string wide = readBytes(text);
    std::string narrow;
    for (std::size_t i = 2; i + 1 < wide.size(); i += 2) narrow += wide[i];
    writeRaw(dir / (name + "_8bit_text"), '\2' + narrow);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s SEED_FOLDER (writes SEED_FOLDER/fuzz_document, fuzz_run and fuzz_forms)\n", argv[0]);
        return 2;
    }
    const std::filesystem::path top = argv[1];
    for (const char* target : {"fuzz_document", "fuzz_run"}) {
        const std::filesystem::path dir = top / target;
        std::filesystem::create_directories(dir);
        // The document target needs one generated shape only: they differ in
        // numbers, not in the forms of text.
        const bool document = std::string(target) == "fuzz_document";
        for (const GeneratedSeed& seed : generatedSeeds()) {
            if (document && std::string(seed.name) != "generated_two_lods.s") continue;
            writeGeneratedShape(dir / seed.name, seed.params);
            std::printf("%s\n", (dir / seed.name).string().c_str());
        }
        write(dir / "small.s", smallShape());
        write(dir / "small_8_frames_30fps.s", smallShape(animationBlock(8, 30)));
        write(dir / "small_15_frames_30fps.s", smallShape(animationBlock(15, 30)));
    }
    for (const auto& [name, body] : documentSeeds()) write(top / "fuzz_document" / name, body);
    const std::filesystem::path forms = top / "fuzz_forms";
    std::filesystem::create_directories(forms);
    TempDir scratch;
    writeGeneratedShape(scratch / "generated.s", generatedSeeds().back().params);
    writeFormSeeds(forms, "generated_two_lods", scratch / "generated.s");
    for (const GeneratedSeed& seed : generatedSeeds())
        if (seed.params.animation == GeneratedAnimation::Frames) {
            writeGeneratedShape(scratch / "animated.s", seed.params);
            writeFormSeeds(forms, "generated_animated", scratch / "animated.s");
        }
    return 0;
}

// Every form of a shape file reads into the tree of its text: 8-bit text,
// compressed and uncompressed binary, built here from generated text and,
// when present, the real compressed shapes beside their text twins.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "document/binary_shape_text.h"
#include "document/binary_shape_writer.h"
#include "document/cls_reader.h"
#include "document/shape_container.h"
#include "document/shape_error.h"
#include "generator/shape_generator.h"
#include "support/shape_forms.h"
#include "support/shape_files.h"
#include "support/tree_helpers.h"

using namespace orvane;
using namespace orvane::test;

namespace {

NodePtr readForm(const std::filesystem::path& path, ShapeForm expected) {
    NodePtr root = readFileRecording(path);
    EXPECT_EQ(root->ReadForm(), expected) << path;
    EXPECT_EQ(root->ReadProblem(), "") << path;
    return root;
}

NodePtr generatedTwin(const TempDir& dir, std::int64_t triangles) {
    writeGeneratedForms(dir.path(), triangles);
    return readForm(dir / "twin.s", ShapeForm::Text);
}

TEST(ShapeForms, EachFormOfAGeneratedShapeReadsAsItsText) {
    TempDir dir;
    NodePtr twin = generatedTwin(dir, 3000);
    for (auto [name, form] : kOtherForms) {
        NodePtr other = readForm(dir / name, form);
        EXPECT_EQ(treeDifference(*twin, *other), "") << name;
        EXPECT_EQ(other->Header(), twin->Header()) << name;
    }
}

TEST(ShapeForms, EightBitTextIsWindows1252) {
    TempDir dir;
    writeBytes(dir / "8bit.s", std::string(kHeader) + "\r\nshape ( image ( caf\xE9\x80\x9F ) )");
    NodePtr root = readForm(dir / "8bit.s", ShapeForm::Text8Bit);
    ASSERT_EQ(root->Nodes().size(), 1u);
    EXPECT_EQ(valuesOf(*root->Nodes()[0]), std::vector<std::string>{"caf\xC3\xA9\xE2\x82\xAC\xC5\xB8"});
}

TEST(ShapeForms, FloatsPrintAsTheFormatsOwnTool) {
    EXPECT_EQ(toolFloatText(-3.8e-5f), "-3.8e-005");
    EXPECT_EQ(toolFloatText(-0.0f), "0");
    EXPECT_EQ(toolFloatText(40.0f), "40");
    EXPECT_EQ(toolFloatText(0.4951512f), "0.495151");
    EXPECT_EQ(toolFloatText(1234567.0f), "1.23457e+006");
    // Any float as C's "%g" prints it, with the exponent widened to 3 digits:
    // any bits, the magnitudes shapes hold (1e-9 to 1e7), and halfway cases.
    const auto expectPrintf = [](float value) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%g", static_cast<double>(value));
        std::string expected = buf;
        if (const auto e = expected.find('e'); e != std::string::npos && expected.size() - (e + 2) < 3)
            expected.insert(e + 2, 3 - (expected.size() - (e + 2)), '0');
        ASSERT_EQ(toolFloatText(value), expected) << value;
    };
    std::uint32_t bits = 12345;
    for (int i = 0; i < 400000; ++i) {
        bits = bits * 1664525u + 1013904223u;
        // Every other number keeps an exponent field from 97 to 151.
        const std::uint32_t tried = i % 2 ? bits : (bits & 0x807FFFFFu) | ((97 + (bits >> 8) % 55) << 23);
        float value;
        std::memcpy(&value, &tried, sizeof value);
        if (std::isfinite(value) && value != 0.0f) expectPrintf(value);
    }
    // Odd m * 2^-(k+1) from 10^(5-k) to 10^(6-k) lies halfway between two
    // 6-digit decimals.
    for (int k = 0, low = 200000; k <= 5; ++k, low /= 5)
        for (int m = low | 1; m < low * 10; m += 2 * 997) expectPrintf(std::ldexp(static_cast<float>(m), -k - 1));
}

// Written compressed, a tree in the tool's number forms reads back as it was.
TEST(ShapeForms, CompressedWriteReadsBackToTheTreeWritten) {
    TempDir dir;
    NodePtr twin = generatedTwin(dir, 2000);
    twin->SaveCompressedFile(dir / "out.s");
    NodePtr back = readForm(dir / "out.s", ShapeForm::Compressed);
    EXPECT_EQ(treeDifference(*twin, *back), "");
}

TEST(ShapeForms, AValueWithoutBinaryFormStopsTheWriteNamingIt) {
    TempDir dir;
    for (const char* body : {"shape ( shape_header ( 00000000 nine ) )", "shape ( shape_header ( 1ffffffff ) )",
                             "shape ( points ( 1 point ( 1 2 x ) ) )", "shape ( points ( 4294967296 ) )",
                             "shape ( mystery ( 1 ) )"}) {
        writeShape(dir / "in.s", body);
        NodePtr root = readFileRecording(dir / "in.s");
        try {
            root->SaveCompressedFile(dir / "out.s");
            ADD_FAILURE() << body;
        } catch (const ShapeError& e) {
            EXPECT_NE(std::string(e.what()).find("as a compressed shape: block "), std::string::npos) << e.what();
        }
        EXPECT_FALSE(std::filesystem::exists(dir / "out.s")) << body;
    }
}

// A string or label with a blank or parentheses is one quoted value, as in
// the text; written compressed it is the bare string again. One holding a
// quotation mark or a line break has no text form.
TEST(ShapeForms, StringsWithBlanksReadQuotedAndWriteBackBare) {
    TempDir dir;
    writeQuotedStringForms(dir.path(), 300);
    NodePtr twin = readForm(dir / "twin.s", ShapeForm::Text);
    NodePtr compressed = readForm(dir / "compressed.s", ShapeForm::Compressed);
    EXPECT_EQ(treeDifference(*twin, *compressed), "");
    EXPECT_EQ(valuesOf(*compressed->Find("images")->Nodes()[0]), std::vector<std::string>{kQuotedImage});
    EXPECT_EQ(compressed->Find("matrices")->Nodes()[0]->Text(), kQuotedLabel);
    compressed->SaveFile(dir / "text.s");
    EXPECT_EQ(readBytes(dir / "text.s"), readBytes(dir / "twin.s"));

    const std::vector<unsigned char> tokens = inflatedFile(dir / "compressed.s");
    EXPECT_EQ(binaryShapeTokens(*compressed), tokens);
    const auto unitsOf = [](std::string_view text) {
        std::string units;
        for (char c : text) units += std::string{c, '\0'};
        return units;
    };
    const std::string bytes(tokens.begin(), tokens.end());
    for (const std::string name : {"generated b(1).ace", "MAIN X"}) {
        const std::size_t at = bytes.find(unitsOf(name));
        ASSERT_NE(at, std::string::npos) << name;
        EXPECT_EQ(static_cast<unsigned char>(bytes[at - (name == "MAIN X" ? 1 : 2)]), name.size()) << name;
        for (const char bad : {'"', '\n', '\r'}) {
            std::vector<unsigned char> damaged = tokens;
            damaged[at + (bad == '"' ? 0 : 2 * name.find(' '))] = static_cast<unsigned char>(bad);
            writeBytes(dir / "bad.s", "SIMISA@@@@@@@@@@" + std::string(damaged.begin(), damaged.end()));
            NodePtr root = readFileRecording(dir / "bad.s");
            EXPECT_TRUE(root->Nodes().empty());
            EXPECT_NE(root->ReadProblem().find(name == "MAIN X" ? "has a label that shape text cannot hold"
                                                                : "holds a string that shape text cannot hold"),
                      std::string::npos)
                << root->ReadProblem();
        }
    }
}

// Damaged files, each from a small compressed shape and from one whose
// data spans several pieces of inflating and decoding: the reason and
// where. A fault of the compressed data wins over a fault of the tokens.
class DamagedCompressedShape : public testing::TestWithParam<std::int64_t> {};

TEST_P(DamagedCompressedShape, NamesTheReasonAndTheByte) {
    TempDir dir;
    const std::vector<unsigned char> tokens = binaryShapeTokens(*generatedTwin(dir, GetParam()));
    auto addToLength = [](std::vector<unsigned char>& t, std::size_t at, std::uint32_t more) {
        std::uint32_t length;
        std::memcpy(&length, t.data() + at, 4);
        length += more;
        std::memcpy(t.data() + at, &length, 4);
    };
    const std::vector<unsigned char> good = compressedShape(tokens);

    auto withTokens = [](std::vector<unsigned char> t) { return compressedShape(t); };
    std::vector<unsigned char> unknown = tokens, pastParent = tokens, leftOver = tokens, world = tokens;
    unknown[16 + 8 + 1] = 0x9C, unknown[16 + 8 + 2] = 0x01;    // shape_header becomes number 412
    addToLength(pastParent, 16 + 8 + 1 + 4, 1u << 30);         // shape_header longer than shape
    addToLength(leftOver, 16 + 4, 2), leftOver.push_back(0), leftOver.push_back(0);  // two bytes after its blocks
    std::memcpy(world.data(), "JINX0w0b", 8);
    std::vector<unsigned char> damaged = good, shortened = good, sizeWrong = good, huge = good;
    damaged[20] ^= 0xFF;
    shortened.resize(shortened.size() - 3);
    sizeWrong[8] -= 3;
    huge[11] = 0xF0;

    const std::pair<std::vector<unsigned char>, std::string> cases[] = {
        {damaged, "compressed data is damaged at byte "},
        {shortened, "compressed data ends early at byte "},
        {sizeWrong, "differs from the "},
        {huge, "more than 2 GiB"},
        {withTokens(unknown), "unknown block number 412 at byte 25 of the inflated data"},
        {withTokens(pastParent), "block shape_header at byte 25 of the inflated data runs past the end of its parent shape"},
        {withTokens(leftOver), "block shape at byte 16 of the inflated data has 2 bytes left over"},
        {withTokens(world), "is not a shape: it starts \"JINX0w0b\""},
    };
    for (const auto& [bytes, reason] : cases) {
        writeBytes(dir / "bad.s", std::string(bytes.begin(), bytes.end()));
        NodePtr root = readFileRecording(dir / "bad.s");
        EXPECT_TRUE(root->Nodes().empty()) << reason;
        EXPECT_EQ(root->ReadForm(), ShapeForm::Compressed) << reason;
        EXPECT_NE(root->ReadProblem().find(reason), std::string::npos) << root->ReadProblem();
    }
    std::vector<unsigned char> tokensAndSize = unknown;
    tokensAndSize.push_back(0);
    tokensAndSize = compressedShape(tokensAndSize);
    tokensAndSize[8] -= 1;
    writeBytes(dir / "bad.s", std::string(tokensAndSize.begin(), tokensAndSize.end()));
    EXPECT_NE(readFileRecording(dir / "bad.s")->ReadProblem().find("differs from the "), std::string::npos);
}

// zlib finds a wrong checksum only at the stream's end: no byte is named.
TEST_P(DamagedCompressedShape, WrongChecksumSaysTheFileIsDamaged) {
    TempDir dir;
    std::vector<unsigned char> bytes = compressedShape(binaryShapeTokens(*generatedTwin(dir, GetParam())));
    bytes.back() ^= 0x5A;  // the Adler-32 checksum closes the stream
    writeBytes(dir / "bad.s", std::string(bytes.begin(), bytes.end()));
    NodePtr root = readFileRecording(dir / "bad.s");
    EXPECT_TRUE(root->Nodes().empty());
    EXPECT_EQ(root->ReadProblem(), "the compressed data's checksum does not match: the file is damaged");
}

INSTANTIATE_TEST_SUITE_P(SmallAndLarge, DamagedCompressedShape, testing::Values(10, 8000));

// The listener's exception leaves a compressed read unchanged.
TEST(ShapeForms, ListenerExceptionPassesThroughACompressedRead) {
    TempDir dir;
    generatedTwin(dir, 2000);
    NodePtr root = clsReader::create();
    root->SetProgressListener([](float) { throw std::bad_alloc(); });
    EXPECT_THROW(root->ReadFile(dir / "compressed.s", true), std::bad_alloc);
}

// The real compressed shapes: each form reads to the tree of its twin and
// writes the bytes the twin's tree writes (the writer's own layout: it
// wraps long lines at other columns than the format's tool, and writes no
// line end after the last ")"); the twin, encoded again,
// gives the original's tokens except where its text cannot hold a float,
// and written compressed it reads back as it was.
TEST(ShapeForms, RealCompressedShapesMatchTheirTwins) {
    const std::vector<CompressedPair> pairs = compressedCorpusPairs(ORVANE_CORPUS_DIR);
    if (pairs.empty()) GTEST_SKIP() << "no compressed corpus";
    for (const CompressedPair& pair : pairs) {
        TempDir dir;
        NodePtr twin = readForm(pair.twin, ShapeForm::Text);
        const std::vector<unsigned char> inflated = inflatedFile(pair.compressed);
        writeOtherForms(dir.path(), inflated, pair.twin);
        twin->SaveFile(dir / "twin-written.s");
        const std::string twinWritten = readBytes(dir / "twin-written.s");
        std::filesystem::copy_file(pair.compressed, dir / "compressed.s", std::filesystem::copy_options::overwrite_existing);
        for (auto [name, form] : kOtherForms) {
            NodePtr read = readForm(dir / name, form);
            read->SaveFile(dir / "written.s");
            EXPECT_EQ(treeDifference(*twin, *read), "") << pair.twin << " " << name;
            EXPECT_TRUE(readBytes(dir / "written.s") == twinWritten) << pair.twin << " " << name;
        }
        EXPECT_EQ(tokenDifference(inflated, binaryShapeTokens(*twin)), "") << pair.twin;
        twin->SaveCompressedFile(dir / "again.s");
        EXPECT_EQ(treeDifference(*twin, *readForm(dir / "again.s", ShapeForm::Compressed)), "") << pair.twin;
    }
}

}  // namespace

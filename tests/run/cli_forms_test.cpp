// orvane-cli on a compressed, binary or 8-bit shape gives what it gives on
// the shape's text twin: the same standard output, exit status and output
// bytes, with the default limits and with small ones.

#include <gtest/gtest.h>

#include "document/binary_shape_text.h"
#include "support/cli_process.h"
#include "support/shape_files.h"
#include "support/shape_forms.h"

using namespace orvane;
using namespace orvane::test;

namespace {

const char* const kProfiles[] = {"", "--max-prim-faces 7 --max-object-polys 50 --make-small-polys-visible --min-edge-mm 40 "};

// Runs each form in dir and the twin with each profile; all must agree.
void expectFormsRunAsTheTwin(const std::filesystem::path& dir, const std::filesystem::path& twin) {
    if (twin != dir / "twin.s")
        std::filesystem::copy_file(twin, dir / "twin.s", std::filesystem::copy_options::overwrite_existing);
    for (const char* profile : kProfiles) {
        const CliResult expected = runCli(dir, profile + quoted(dir / "twin.s"));
        const std::string expectedOutput =
            std::filesystem::exists(dir / "twin.sfixed") ? readBytes(dir / "twin.sfixed") : "none";
        EXPECT_EQ(expected.status, 0) << expected.err;
        for (auto [name, form] : kOtherForms) {
            const CliResult got = runCli(dir, profile + quoted(dir / name));
            EXPECT_EQ(got.status, expected.status) << twin << " " << name << " " << profile;
            EXPECT_TRUE(got.out == expected.out) << twin << " " << name << " " << profile;
            const std::filesystem::path output = dir / (std::string(name) + "fixed");
            EXPECT_TRUE((std::filesystem::exists(output) ? readBytes(output) : "none") == expectedOutput)
                << twin << " " << name << " " << profile;
            std::filesystem::remove(output);
        }
        std::filesystem::remove(dir / "twin.sfixed");
    }
}

TEST(CliForms, GeneratedShapeRunsAsItsTextInEveryForm) {
    TempDir dir;
    writeGeneratedForms(dir.path(), 4000);
    expectFormsRunAsTheTwin(dir.path(), dir / "twin.s");
}

TEST(CliForms, QuotedStringsRunAsTheirTextAndCompressBack) {
    TempDir dir;
    writeQuotedStringForms(dir.path(), 3000);
    expectFormsRunAsTheTwin(dir.path(), dir / "twin.s");
    const CliResult r = runCli(dir.path(), "--compress --max-prim-faces 7 " + quoted(dir / "compressed.s"));
    EXPECT_EQ(r.status, 0) << r.err;
    const CliResult back = runCli(dir.path(), "--max-prim-faces 7 " + quoted(dir / "compressed.sfixed"));
    EXPECT_EQ(back.status, 0) << back.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "compressed.sfixedfixed"));
    // The name goes back as the bare string: its length, then its units.
    const std::vector<unsigned char> tokens = inflatedFile(dir / "compressed.sfixed");
    const std::string name = utf16Bytes("generated b(1).ace", false);
    EXPECT_NE(std::string(tokens.begin(), tokens.end()).find(std::string{18, 0} + name), std::string::npos);
}

TEST(CliForms, RealCompressedShapesRunAsTheirTwins) {
    const std::vector<CompressedPair> pairs = compressedCorpusPairs(ORVANE_CORPUS_DIR);
    if (pairs.empty()) GTEST_SKIP() << "no compressed corpus";
    for (const CompressedPair& pair : pairs) {
        TempDir dir;
        writeOtherForms(dir.path(), inflatedFile(pair.compressed), pair.twin);
        std::filesystem::copy_file(pair.compressed, dir / "compressed.s",
                                   std::filesystem::copy_options::overwrite_existing);
        expectFormsRunAsTheTwin(dir.path(), pair.twin);
    }
}

TEST(CliForms, DamagedCompressedShapeSaysWhyAndWritesNothing) {
    TempDir dir;
    writeGeneratedForms(dir.path(), 500);
    std::string bytes = readBytes(dir / "compressed.s");
    bytes.resize(bytes.size() - 5);
    writeBytes(dir / "cut.s", bytes);
    const CliResult r = runCli(dir.path(), quoted(dir / "cut.s"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Unreadable compressed shape\nCompressed data ends early at byte " +
                         groupedNumber(bytes.size()) + "\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "cut.sfixed"));
}

TEST(CliForms, CompressOptionWritesACompressedShape) {
    TempDir dir;
    writeGeneratedForms(dir.path(), 500);
    const CliResult r = runCli(dir.path(), "--compress --max-prim-faces 7 " + quoted(dir / "twin.s"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readBytes(dir / "twin.sfixed").substr(0, 8), "SIMISA@F");
    const CliResult back = runCli(dir.path(), "--max-prim-faces 7 " + quoted(dir / "twin.sfixed"));
    EXPECT_EQ(back.status, 0) << back.err;
    // Every repair made is in the file: a second run finds nothing to repair.
    EXPECT_FALSE(std::filesystem::exists(dir / "twin.sfixedfixed"));
}

}  // namespace

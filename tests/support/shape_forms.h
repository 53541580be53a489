#pragma once
// The other forms of a shape for tests: compressed, binary and 8-bit text
// files built from binary tokens and a text file, and the real compressed
// shapes with their text twins.

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "document/shape_form.h"

namespace orvane::test {

inline constexpr std::pair<const char*, ShapeForm> kOtherForms[] = {
    {"compressed.s", ShapeForm::Compressed}, {"binary.s", ShapeForm::Binary}, {"8bit.s", ShapeForm::Text8Bit}};

// Writes the files of kOtherForms into dir: the tokens (sub-header first)
// compressed and uncompressed, and the UTF-16 file textFile as 8-bit text
// (its characters must all be ASCII).
void writeOtherForms(const std::filesystem::path& dir, const std::vector<unsigned char>& tokens,
                     const std::filesystem::path& textFile);

// A generated shape of about `triangles` triangles with two LODs and an
// animation, as its text twin dir/twin.s (the text the format's own tool
// prints for it) and the files of kOtherForms.
void writeGeneratedForms(const std::filesystem::path& dir, std::int64_t triangles);

// As writeGeneratedForms, but the texture's name and the first matrix's
// label hold a blank and parentheses, so the text holds them quoted:
// kQuotedImage and kQuotedLabel. The names come back through the tokens.
inline constexpr const char* kQuotedImage = "\"generated b(1).ace\"";
inline constexpr const char* kQuotedLabel = "\"MAIN X\"";
void writeQuotedStringForms(const std::filesystem::path& dir, std::int64_t triangles);

// The inflated data of a compressed shape file.
std::vector<unsigned char> inflatedFile(const std::filesystem::path& compressed);

struct CompressedPair {
    std::filesystem::path compressed;  // X_compressed.s in corpus-compressed
    std::filesystem::path twin;        // X.s in the text corpus
};
// The pairs of the compressed corpus beside the text corpus; none without it.
std::vector<CompressedPair> compressedCorpusPairs(const std::filesystem::path& textCorpus);

// Empty when the encoded tokens are the original's byte for byte, but for
// floats that 6-digit text cannot hold (negative zero, more digits), which
// must be the float nearest their text; otherwise the first other
// difference.
std::string tokenDifference(const std::vector<unsigned char>& original, const std::vector<unsigned char>& encoded);

}  // namespace orvane::test

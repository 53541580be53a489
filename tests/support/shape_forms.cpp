#include "support/shape_forms.h"

#include <cstring>

#include "document/binary_shape_text.h"
#include "document/binary_shape_writer.h"
#include "document/numbers.h"
#include "document/shape_container.h"
#include "generator/shape_generator.h"
#include "support/shape_files.h"
#include "support/tree_helpers.h"

namespace orvane::test {

namespace {
std::string asBytes(const std::vector<unsigned char>& v) { return {v.begin(), v.end()}; }
}  // namespace

void writeOtherForms(const std::filesystem::path& dir, const std::vector<unsigned char>& tokens,
                     const std::filesystem::path& textFile) {
    writeBytes(dir / "compressed.s", asBytes(compressedShape(tokens)));
    writeBytes(dir / "binary.s", "SIMISA@@@@@@@@@@" + asBytes(tokens));
    const std::string wide = readBytes(textFile);
    std::string narrow;
    for (std::size_t i = 2; i + 1 < wide.size(); i += 2) {
        if (wide[i + 1] != 0 || static_cast<unsigned char>(wide[i]) >= 0x80)
            throw std::runtime_error("not ASCII text: " + textFile.string());
        narrow += wide[i];
    }
    writeBytes(dir / "8bit.s", narrow);
}

void writeGeneratedForms(const std::filesystem::path& dir, std::int64_t triangles) {
    ShapeParameters params;
    params.triangles = triangles;
    params.lods = 2;
    params.animation = GeneratedAnimation::Frames;
    writeGeneratedShape(dir / "generated.s", params);
    readFileRecording(dir / "generated.s")->SaveCompressedFile(dir / "generated-compressed.s");
    readFileRecording(dir / "generated-compressed.s")->SaveFile(dir / "twin.s");
    writeOtherForms(dir, binaryShapeTokens(*readFileRecording(dir / "twin.s")), dir / "twin.s");
}

void writeQuotedStringForms(const std::filesystem::path& dir, std::int64_t triangles) {
    writeGeneratedForms(dir, triangles);
    std::string text = decodedFile(dir / "twin.s");
    auto replaceAll = [&](const std::string& from, const std::string& to) {
        for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
            text.replace(at, from.size(), to);
    };
    replaceAll("image ( generated.ace )", std::string("image ( ") + kQuotedImage + " )");
    replaceAll("matrix MAIN (", std::string("matrix ") + kQuotedLabel + " (");
    writeBytes(dir / "twin.s", utf16Bytes(text));
    writeOtherForms(dir, binaryShapeTokens(*readFileRecording(dir / "twin.s")), dir / "twin.s");
}

std::vector<unsigned char> inflatedFile(const std::filesystem::path& compressed) {
    const std::string file = readBytes(compressed);
    return inflateShape({reinterpret_cast<const unsigned char*>(file.data()), file.size()});
}

std::vector<CompressedPair> compressedCorpusPairs(const std::filesystem::path& textCorpus) {
    std::vector<CompressedPair> pairs;
    const std::filesystem::path folder = textCorpus.parent_path() / "corpus-compressed";
    if (!std::filesystem::is_directory(folder)) return pairs;
    const std::string suffix = "_compressed.s";
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (!name.ends_with(suffix)) continue;
        pairs.push_back({entry.path(), textCorpus / (name.substr(0, name.size() - suffix.size()) + ".s")});
    }
    return pairs;
}

std::string tokenDifference(const std::vector<unsigned char>& original, const std::vector<unsigned char>& encoded) {
    if (original.size() != encoded.size())
        return std::to_string(encoded.size()) + " bytes encoded, " + std::to_string(original.size()) + " original";
    // Each differing byte must lie in a 4-byte float of the original that
    // its text cannot hold, encoded as the float nearest that text.
    auto heldDifferently = [&](std::size_t at) {
        float stored, written;
        std::memcpy(&stored, original.data() + at, 4);
        std::memcpy(&written, encoded.data() + at, 4);
        const auto nearest = toSingle(toolFloatText(stored));
        return nearest && std::memcmp(&*nearest, &written, 4) == 0 && std::memcmp(&stored, &written, 4) != 0;
    };
    for (std::size_t i = 0; i < original.size(); ++i) {
        if (original[i] == encoded[i]) continue;
        bool explained = false;
        for (std::size_t at = i >= 3 ? i - 3 : 0; at <= i && at + 4 <= original.size(); ++at)
            if (heldDifferently(at)) {
                explained = true;
                i = at + 3;
                break;
            }
        if (!explained) return "byte " + std::to_string(i) + " differs";
    }
    return {};
}

}  // namespace orvane::test

#include "geometry/report_places.h"

#include <charconv>
#include <string_view>

namespace orvane::geometry {

namespace {

constexpr std::string_view kLodLine = "LOD Distance\t";
constexpr std::string_view kSubObjectLine = "Sub Object ";  // "Sub Objects\t" is the count line
constexpr std::string_view kPolyLine = "\t\tPoly";
constexpr std::string_view kSecondVertexLine = "\t\t\t";
constexpr std::string_view kUndividedLine = "Sub-object left undivided (";
constexpr std::string_view kSubObjectWord = ", sub-object ";

using LineAt = std::function<std::string(std::size_t)>;

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }
bool isLodLine(std::string_view line) { return startsWith(line, kLodLine); }
bool isSubObjectLine(std::string_view line) { return startsWith(line, kSubObjectLine); }

// The whole number `text` starts with; `text` is left with what follows it.
std::optional<std::int32_t> leadingNumber(std::string_view& text) {
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc()) return std::nullopt;
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    return value;
}

// "\t\tP\tN polygons...": the primitive P.
std::optional<std::int32_t> primitiveOf(std::string_view line) {
    if (!startsWith(line, "\t\t") || line.size() < 3 || line[2] < '0' || line[2] > '9') return std::nullopt;
    line.remove_prefix(2);
    const auto primitive = leadingNumber(line);
    if (!primitive || !startsWith(line, "\t")) return std::nullopt;
    return primitive;
}

// "\t\tPolyK\tV(x,y,z)": the triangle K and the vertex V.
bool readPolyLine(std::string_view line, ReportPlace& place) {
    if (!startsWith(line, kPolyLine)) return false;
    line.remove_prefix(kPolyLine.size());
    const auto poly = leadingNumber(line);
    if (!poly || !startsWith(line, "\t")) return false;
    line.remove_prefix(1);
    const auto vertex = leadingNumber(line);
    if (!vertex || !startsWith(line, "(")) return false;
    place.polyNumber = *poly;
    place.vertexA = *vertex;
    return true;
}

// "\t\t\tW(x,y,z) 1.23mm": the vertex W.
std::optional<std::int32_t> secondVertexOf(std::string_view line) {
    if (!startsWith(line, kSecondVertexLine)) return std::nullopt;
    line.remove_prefix(kSecondVertexLine.size());
    const auto vertex = leadingNumber(line);
    if (!vertex || !startsWith(line, "(")) return std::nullopt;
    return vertex;
}

// The LOD of line `from` and, when asked, its sub-object: from that line
// back to the first, the "Sub Object" lines up to the nearest "LOD
// Distance" line and all "LOD Distance" lines are counted.
bool placeInLod(const LineAt& lineAt, std::size_t from, bool withSubObject, ReportPlace& place) {
    std::int32_t lods = 0, subObjects = 0;
    for (std::size_t i = from + 1; i-- > 0;) {
        const std::string line = lineAt(i);
        if (isLodLine(line))
            ++lods;
        else if (lods == 0 && isSubObjectLine(line))
            ++subObjects;
    }
    if (lods == 0 || (withSubObject && subObjects == 0)) return false;
    place.lod = lods - 1;
    if (withSubObject) place.subObject = subObjects - 1;
    return true;
}

// The short edge whose first line is `polyIndex` and second `secondLine`,
// in the primitive whose line stands nearest above within its sub-object.
std::optional<ReportPlace> shortEdgePlace(const LineAt& lineAt, std::size_t polyIndex, std::string_view secondLine) {
    ReportPlace place;
    if (!readPolyLine(lineAt(polyIndex), place)) return std::nullopt;
    if (const auto vertex = secondVertexOf(secondLine)) place.vertexB = *vertex;
    for (std::size_t i = polyIndex; i-- > 0;) {
        const std::string line = lineAt(i);
        if (const auto primitive = primitiveOf(line)) {
            place.primitive = *primitive;
            if (!placeInLod(lineAt, i, true, place)) return std::nullopt;
            return place;
        }
        if (isSubObjectLine(line) || isLodLine(line)) return std::nullopt;
    }
    return std::nullopt;
}

// "Sub-object left undivided (LOD D, sub-object L, N polygons): why": the
// distance D and the label L (a LOD without a distance has no line above to
// find it by).
bool readUndividedLine(std::string_view line, std::string_view& distance, std::string_view& label) {
    if (!startsWith(line, kUndividedLine)) return false;
    line.remove_prefix(kUndividedLine.size());
    line = line.substr(0, line.find("): "));
    if (line.size() > 9 && line.substr(line.size() - 9) == " polygons") line = line.substr(0, line.rfind(", "));
    if (!startsWith(line, "LOD ")) return false;
    line.remove_prefix(4);
    const std::size_t word = line.find(kSubObjectWord);
    if (word == std::string_view::npos) return false;
    distance = line.substr(0, word);
    label = line.substr(word + kSubObjectWord.size());
    return true;
}

// The position among the LOD's sub-objects (its line at `lodLine`, the
// lines before `end`) of the one whose "Sub Object" line shows `label`, or
// shows none and stands at position `label`.
std::optional<std::int32_t> subObjectInLod(const LineAt& lineAt, std::size_t lodLine, std::size_t end,
                                           std::string_view label) {
    std::int32_t position = 0;
    for (std::size_t i = lodLine + 1; i < end; ++i) {
        const std::string line = lineAt(i);
        if (isLodLine(line)) break;
        if (!isSubObjectLine(line)) continue;
        std::string_view shown = std::string_view(line).substr(kSubObjectLine.size());
        shown = shown.substr(0, shown.find('\t'));
        if (shown == label || (shown.empty() && label == std::to_string(position))) return position;
        ++position;
    }
    return std::nullopt;
}

// The sub-object an undivided line at `index` names: in the nearest LOD
// above with that distance that has a sub-object with that label.
std::optional<ReportPlace> undividedPlace(const LineAt& lineAt, std::size_t index, std::string_view distance,
                                          std::string_view label) {
    std::optional<std::int32_t> subObject;
    std::int32_t lodsAbove = 0;
    for (std::size_t i = index; i-- > 0;) {
        const std::string line = lineAt(i);
        if (!isLodLine(line)) continue;
        if (subObject)
            ++lodsAbove;
        else if (std::string_view(line).substr(kLodLine.size()) == distance)
            subObject = subObjectInLod(lineAt, i, index, label);
    }
    if (!subObject) return std::nullopt;
    ReportPlace place;
    place.lod = lodsAbove;
    place.subObject = *subObject;
    return place;
}

}  // namespace

std::optional<ReportPlace> reportPlaceAt(const LineAt& lineAt, std::size_t index) {
    const std::string line = lineAt(index);
    ReportPlace place;
    if (isLodLine(line)) return placeInLod(lineAt, index, false, place) ? std::optional(place) : std::nullopt;
    if (isSubObjectLine(line)) return placeInLod(lineAt, index, true, place) ? std::optional(place) : std::nullopt;
    if (const auto primitive = primitiveOf(line)) {
        place.primitive = *primitive;
        return placeInLod(lineAt, index, true, place) ? std::optional(place) : std::nullopt;
    }
    if (startsWith(line, kPolyLine)) return shortEdgePlace(lineAt, index, lineAt(index + 1));
    if (secondVertexOf(line)) return index > 0 ? shortEdgePlace(lineAt, index - 1, line) : std::nullopt;
    std::string_view distance, label;
    if (readUndividedLine(line, distance, label)) return undividedPlace(lineAt, index, distance, label);
    return std::nullopt;
}

const PlacedFinding* findingAt(const LodGeometry& lod, const ReportPlace& place) {
    if (place.lod == kNoPlace || place.lod != lod.lod || place.subObject == kNoPlace) return nullptr;
    auto at = [&](FindingKind kind, auto&& also) -> const PlacedFinding* {
        for (const PlacedFinding& f : lod.findings)
            if (f.kind == kind && f.subObject == place.subObject && f.primitive == place.primitive && also(f))
                return &f;
        return nullptr;
    };
    if (place.polyNumber != kNoPlace)
        return at(FindingKind::ShortEdge, [&](const PlacedFinding& f) {
            return f.polyNumber == place.polyNumber && f.vertexA == place.vertexA &&
                   (place.vertexB == kNoPlace || f.vertexB == place.vertexB);
        });
    auto any = [](const PlacedFinding&) { return true; };
    if (place.primitive != kNoPlace) return at(FindingKind::OversizePrimitive, any);
    for (FindingKind kind : {FindingKind::OversizeSubObject, FindingKind::UndividedSubObject, FindingKind::VertexOverflow})
        if (const PlacedFinding* f = at(kind, any)) return f;
    return nullptr;
}

}  // namespace orvane::geometry

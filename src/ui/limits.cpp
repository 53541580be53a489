#include "ui/limits.h"

#include <cmath>

#include "document/numbers.h"

namespace orvane::ui {

namespace {

constexpr char kMaxPrimKey[] = "maxprim";
constexpr char kMaxFacesKey[] = "maxfaces";
constexpr char kMinSqrKey[] = "minsqr";

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

// A square of an edge length is never negative: a negative or overflowing
// value has no edge to show and is treated like text that does not convert.
bool usableEdgeSqr(float value) { return std::isfinite(value) && value >= 0.0f; }

// Many systems write decimals with a comma: one comma and no point is read
// as the decimal separator ("2,5"); grouping ("1,000.5") stays unusable.
std::string withDecimalPoint(std::string_view text) {
    std::string result(text);
    const auto comma = result.find(',');
    if (comma != std::string::npos && result.find(',', comma + 1) == std::string::npos &&
        result.find('.') == std::string::npos)
        result[comma] = '.';
    return result;
}

// A whole number with commas between groups of three digits: "11,000".
std::string groupedThousands(std::int32_t value) {
    std::string digits = wholeText(value);
    for (std::size_t end = digits.size(); end > 3; end -= 3) digits.insert(end - 3, 1, ',');
    return digits;
}

}  // namespace

RunLimits loadLimits(platform::SettingsStore& store) {
    RunLimits limits;  // starts at the defaults
    const auto stored = [&store](const char* key, const std::string& defaultText) {
        return store.getSetting(kSettingsApp, kAppTitle, key, defaultText);
    };
    if (auto value = toWholeNumber(trimmed(stored(kMaxPrimKey, wholeText(kDefaultMaxPrimFaces)))))
        limits.maxPrimFaces = *value;
    if (auto value = toWholeNumber(trimmed(stored(kMaxFacesKey, wholeText(kDefaultMaxObjectPolys)))))
        limits.maxObjectPolys = *value;
    auto edgeSqr = toSingle(trimmed(stored(kMinSqrKey, formatSingle(kDefaultMinEdgeSqr))));
    if (edgeSqr && usableEdgeSqr(*edgeSqr)) limits.minEdgeSqr = *edgeSqr;
    return limits;
}

void saveLimits(platform::SettingsStore& store, const RunLimits& limits) {
    store.saveSetting(kSettingsApp, kAppTitle, kMaxPrimKey, wholeText(limits.maxPrimFaces));
    store.saveSetting(kSettingsApp, kAppTitle, kMaxFacesKey, wholeText(limits.maxObjectPolys));
    store.saveSetting(kSettingsApp, kAppTitle, kMinSqrKey, formatSingle(limits.minEdgeSqr));
}

std::array<std::string, 3> limitCaptions(const RunLimits& limits) {
    return {"Max Faces/Primitive " + wholeText(limits.maxPrimFaces),
            "Max Polys/Object " + wholeText(limits.maxObjectPolys),
            "Min Edge size (mm) " + edgeMillimetresText(limits.minEdgeSqr, 1)};
}

std::array<std::string, 3> limitPrompts() {
    return {"Maximum Faces per Primitive (" + wholeText(kDefaultMaxPrimFaces) + ")",
            "Maximum Polys per Object (" + wholeText(kDefaultMaxObjectPolys) + ")",
            "Minimum Edge Size in mm (" + formatSingle(kDefaultMinEdgeMm) + ")"};
}

std::array<std::string, 2> limitToolTips() {
    return {"Models with objects over " + groupedThousands(kDefaultMaxObjectPolys) +
                " polys in an object can cause crashes.",
            "Primitives with more than " + wholeText(kDefaultMaxPrimFaces) + " polys may not load in MSTS"};
}

std::string edgeMillimetresText(float minEdgeSqr, int decimals) {
    return formatRounded(std::sqrt(static_cast<double>(minEdgeSqr)) * 1000.0, decimals);
}

std::optional<std::int32_t> wholeNumberEntry(std::string_view text) { return toWholeNumber(trimmed(text)); }

std::optional<float> edgeSqrEntry(std::string_view text) {
    auto millimetres = toSingle(withDecimalPoint(trimmed(text)));
    if (!millimetres) return std::nullopt;
    const float metres = *millimetres / 1000.0f;
    const float square = metres * metres;
    if (!usableEdgeSqr(square)) return std::nullopt;
    return square;
}

}  // namespace orvane::ui

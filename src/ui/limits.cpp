#include "ui/limits.h"

#include <cmath>

#include "document/numbers.h"

namespace orvane::ui {

namespace {

constexpr char kMaxPrimKey[] = "maxprim";
constexpr char kMaxFacesKey[] = "maxfaces";
constexpr char kMinSqrKey[] = "minsqr";

constexpr char kMaxPrimDefault[] = "2800";
constexpr char kMaxFacesDefault[] = "11000";
constexpr char kMinSqrDefault[] = "0.00000625";

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

}  // namespace

RunLimits loadLimits(platform::SettingsStore& store) {
    RunLimits limits;  // starts at the defaults
    if (auto value = toWholeNumber(trimmed(store.getSetting(kSettingsApp, kAppTitle, kMaxPrimKey, kMaxPrimDefault))))
        limits.maxPrimFaces = *value;
    if (auto value = toWholeNumber(trimmed(store.getSetting(kSettingsApp, kAppTitle, kMaxFacesKey, kMaxFacesDefault))))
        limits.maxObjectPolys = *value;
    auto edgeSqr = toSingle(trimmed(store.getSetting(kSettingsApp, kAppTitle, kMinSqrKey, kMinSqrDefault)));
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

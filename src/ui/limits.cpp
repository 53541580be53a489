#include "ui/limits.h"

#include <cmath>
#include <cstdio>

#include "document/numbers.h"

namespace orvane::ui {

namespace {

constexpr char kMaxPrimKey[] = "maxprim";
constexpr char kMaxFacesKey[] = "maxfaces";
constexpr char kMinSqrKey[] = "minsqr";
constexpr char kMinEdgeKey[] = "minedge";

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

// The square of the largest minimum edge a box takes, in square metres.
constexpr float kMaxMinEdgeSqr = (kMostMinEdgeMm / 1000.0f) * (kMostMinEdgeMm / 1000.0f);

// A square of an edge length is never negative: a negative, overflowing or
// too large value has no edge to show and is treated like text that does
// not convert.
bool usableEdgeSqr(float value) { return std::isfinite(value) && value >= 0.0f && value <= kMaxMinEdgeSqr; }

bool usableWholeLimit(std::int32_t value) { return value >= kLeastCountLimit; }

// Many systems write decimals with a comma: one comma, or one of the
// system's decimal separator, and no point is read as the decimal point
// ("2,5"); grouping ("1,000.5") stays unusable.
std::string withDecimalPoint(std::string_view text, char decimalPoint) {
    std::string result(text);
    if (result.find('.') != std::string::npos) return result;
    for (const char separator : {decimalPoint, ','}) {
        const auto at = result.find(separator);
        if (at != std::string::npos && result.find(separator, at + 1) == std::string::npos) {
            result[at] = '.';
            break;
        }
    }
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
    if (auto value = toWholeNumber(trimmed(stored(kMaxPrimKey, wholeText(kDefaultMaxPrimFaces))));
        value && usableWholeLimit(*value))
        limits.maxPrimFaces = *value;
    if (auto value = toWholeNumber(trimmed(stored(kMaxFacesKey, wholeText(kDefaultMaxObjectPolys))));
        value && usableWholeLimit(*value))
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

std::string loadEdgeText(platform::SettingsStore& store, float minEdgeSqr) {
    const std::string text = store.getSetting(kSettingsApp, kAppTitle, kMinEdgeKey, {});
    const auto entry = edgeEntry(text);
    return entry && entry->minEdgeSqr == minEdgeSqr ? entry->millimetres : std::string();
}

void saveEdgeText(platform::SettingsStore& store, const std::string& millimetres) {
    store.saveSetting(kSettingsApp, kAppTitle, kMinEdgeKey, millimetres);
}

std::array<LimitCaption, 3> limitCaptions(const RunLimits& limits, const std::string& edgeText) {
    return {LimitCaption{"Max Faces/Primitive ", wholeText(limits.maxPrimFaces)},
            LimitCaption{"Max Polys/Object ", wholeText(limits.maxObjectPolys)},
            LimitCaption{"Min Edge size (mm) ",
                         edgeText.empty() ? edgeMillimetresText(limits.minEdgeSqr, 1) : edgeText}};
}

std::vector<std::string> shortenedNumbers(const std::string& number) {
    std::vector<std::string> forms;
    const auto value = toSingle(number);
    if (!value) return forms;
    for (int digits = 6; digits >= 1; --digits) {
        char text[32];
        std::snprintf(text, sizeof text, "%.*g", digits, static_cast<double>(*value));
        // "2.15e+09" reads as "2.15e9".
        std::string form = text;
        if (const auto e = form.find("e+"); e != std::string::npos) {
            form.erase(e + 1, 1);
            while (form.size() > e + 2 && form[e + 1] == '0') form.erase(e + 1, 1);
        }
        if (form.size() < number.size() && (forms.empty() || forms.back() != form)) forms.push_back(form);
    }
    return forms;
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

std::array<std::string, 3> limitRules() {
    const std::string whole = " takes a whole number from 1 to 2,147,483,647.";
    return {"Maximum Faces per Primitive" + whole, "Maximum Polys per Object" + whole,
            "Minimum Edge Size takes a number of millimetres from 0 to 1,000,000 (0 reports no edge)."};
}

std::optional<std::int32_t> wholeNumberEntry(std::string_view text, char decimalPoint) {
    const auto value = toWholeNumber(withDecimalPoint(trimmed(text), decimalPoint));
    if (!value || !usableWholeLimit(*value)) return std::nullopt;
    return value;
}

std::optional<EdgeEntry> edgeEntry(std::string_view text, char decimalPoint) {
    std::string typed = withDecimalPoint(trimmed(text), decimalPoint);
    auto millimetres = toSingle(typed);
    if (!millimetres || !(*millimetres >= 0.0f) || *millimetres > kMostMinEdgeMm) return std::nullopt;
    const float metres = *millimetres / 1000.0f;
    const float square = metres * metres;
    if (!usableEdgeSqr(square)) return std::nullopt;
    return EdgeEntry{square, std::move(typed)};
}

}  // namespace orvane::ui

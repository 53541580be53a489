#pragma once
// The three limits of a run as the window handles them: loading and saving
// them as text in the settings store, the texts of their labels, and turning
// what the user typed into a new value.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "fixes/run_state.h"

namespace orvane::ui {

// The application's title: window caption, dialog titles, settings section.
inline constexpr char kAppTitle[] = "Orvane";
// The application name the settings are stored under.
inline constexpr char kSettingsApp[] = "Pellicor";

// Reads the three limits; a missing or unusable text gives that limit's default.
RunLimits loadLimits(platform::SettingsStore& store);
// Stores the three limits as text, in the order maxprim, maxfaces, minsqr.
void saveLimits(platform::SettingsStore& store, const RunLimits& limits);

// The minimum edge as the user typed it (see EdgeEntry), stored beside the
// limits; empty when none is stored or it no longer gives the stored square.
std::string loadEdgeText(platform::SettingsStore& store, float minEdgeSqr);
void saveEdgeText(platform::SettingsStore& store, const std::string& millimetres);

// Captions of the three limit labels, in label order, each split into its
// text and its number. The minimum edge shows edgeText when it is given,
// otherwise the square's edge rounded to one decimal.
struct LimitCaption {
    std::string text;    // "Max Faces/Primitive "
    std::string number;  // "2800"
};
std::array<LimitCaption, 3> limitCaptions(const RunLimits& limits, const std::string& edgeText = {});
// Shorter forms of a caption's number, most exact first, for a label too
// narrow for the whole number: 2147483647 gives "2.147484e9", ... "2e9".
std::vector<std::string> shortenedNumbers(const std::string& number);

// Prompts of the three limit dialogs, in label order; the numbers in them
// name the defaults, whatever the current values are.
std::array<std::string, 3> limitPrompts();
// Tool tips of the first two limit labels; each tells of the default of the
// other label's limit.
std::array<std::string, 2> limitToolTips();

// The minimum edge in millimetres, sqrt(minEdgeSqr) * 1000, rounded to
// `decimals` places and shown as single precision.
std::string edgeMillimetresText(float minEdgeSqr, int decimals);

// What the limit boxes take, as the message that says so when an entry is
// refused, in label order.
std::array<std::string, 3> limitRules();

// A whole-number limit typed by the user (blanks around it allowed, a
// fraction rounded with halves to even): a number from 1 to 2,147,483,647,
// or none. decimalPoint is the system's decimal separator, taken besides
// "." (and a lone comma).
std::optional<std::int32_t> wholeNumberEntry(std::string_view text, char decimalPoint = '.');

// A minimum edge typed in millimetres, from 0 (no edge is short) to
// 1,000,000: minEdgeSqr = (x / 1000)^2, each step in single precision, and
// the text as typed with "." as its decimal point. None for anything else.
struct EdgeEntry {
    float minEdgeSqr;
    std::string millimetres;
};
std::optional<EdgeEntry> edgeEntry(std::string_view text, char decimalPoint = '.');

}  // namespace orvane::ui

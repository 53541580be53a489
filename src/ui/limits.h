#pragma once
// The three limits of a run as the window handles them: loading and saving
// them as text in the settings store, the texts of their labels, and turning
// what the user typed into a new value.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

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

// Captions of the three limit labels, in label order.
std::array<std::string, 3> limitCaptions(const RunLimits& limits);

// Prompts of the three limit dialogs, in label order; the numbers in them
// name the defaults, whatever the current values are.
std::array<std::string, 3> limitPrompts();
// Tool tips of the first two limit labels; each tells of the default of the
// other label's limit.
std::array<std::string, 2> limitToolTips();

// The minimum edge in millimetres, sqrt(minEdgeSqr) * 1000, rounded to
// `decimals` places and shown as single precision.
std::string edgeMillimetresText(float minEdgeSqr, int decimals);

// A whole-number limit typed by the user (blanks around it allowed); none
// for empty or unusable text.
std::optional<std::int32_t> wholeNumberEntry(std::string_view text);
// minEdgeSqr for a minimum edge typed in millimetres: (x / 1000)^2, each
// step in single precision; none for empty or unusable text. A decimal
// comma is taken like the point.
std::optional<float> edgeSqrEntry(std::string_view text);

}  // namespace orvane::ui

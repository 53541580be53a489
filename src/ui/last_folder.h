#pragma once
// The folder of the last shape chosen, kept in the settings store beside the
// limits (and, like them, saved by "Close") so that the file dialog opens
// there after a restart.

#include <filesystem>

#include "platform/platform.h"

namespace orvane::ui {

// The stored folder; empty when none is stored.
std::filesystem::path loadLastFolder(platform::SettingsStore& store);
void saveLastFolder(platform::SettingsStore& store, const std::filesystem::path& folder);

}  // namespace orvane::ui

#include "ui/last_folder.h"

#include <string>

#include "ui/limits.h"

namespace orvane::ui {

namespace {

constexpr char kLastFolderKey[] = "lastfolder";

}  // namespace

// Stored as UTF-8 text, like the limits, with the system's separators (on
// Windows "\", also for a folder an earlier version kept with "/").
std::filesystem::path loadLastFolder(platform::SettingsStore& store) {
    const std::string text = store.getSetting(kSettingsApp, kAppTitle, kLastFolderKey, "");
    return std::filesystem::path(std::u8string(text.begin(), text.end())).make_preferred();
}

void saveLastFolder(platform::SettingsStore& store, const std::filesystem::path& folder) {
    const std::u8string text = std::filesystem::path(folder).make_preferred().u8string();
    store.saveSetting(kSettingsApp, kAppTitle, kLastFolderKey, std::string(text.begin(), text.end()));
}

}  // namespace orvane::ui

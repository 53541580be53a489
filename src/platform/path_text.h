#pragma once
// File paths between Qt's text and std::filesystem, through UTF-16 on every
// system.

#include <QString>
#include <filesystem>

namespace orvane::platform {

std::filesystem::path pathFromQString(const QString& text);
QString qStringFromPath(const std::filesystem::path& path);

}  // namespace orvane::platform

#pragma once
// The one place where the window's QString file names become the core's
// paths and back: through UTF-16 on Windows, through the file-name encoding
// (UTF-8) elsewhere, so no character is lost on either system. On Windows
// the core's paths use "\" between their parts, as the system writes them.

#include <QString>
#include <filesystem>

namespace orvane::platform {

QString toQString(const std::filesystem::path& path);
std::filesystem::path toPath(const QString& text);

}  // namespace orvane::platform

#include "platform/path_text.h"

namespace orvane::platform {

std::filesystem::path pathFromQString(const QString& text) { return std::filesystem::path(text.toStdU16String()); }

QString qStringFromPath(const std::filesystem::path& path) { return QString::fromStdU16String(path.u16string()); }

}  // namespace orvane::platform

#pragma once
// The window's icon from the program's resources.

#include <QIcon>

namespace orvane::platform {

// The SVG picture where the resources hold it; else the PNG sizes rendered
// from it when building (Windows, where Qt is built without SVG support).
QIcon applicationIcon();

}  // namespace orvane::platform

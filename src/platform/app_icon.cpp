#include "platform/app_icon.h"

#include <QDir>
#include <QFile>

namespace orvane::platform {

QIcon applicationIcon() {
    const QString svg = QStringLiteral(":/icons/orvane.svg");
    if (QFile::exists(svg)) return QIcon(svg);
    QIcon icon;
    const QDir folder(QStringLiteral(":/icons"));
    for (const QString& name : folder.entryList({QStringLiteral("orvane-*.png")})) icon.addFile(folder.filePath(name));
    return icon;
}

}  // namespace orvane::platform

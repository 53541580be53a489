#include "platform/path_conversion.h"

#include <QFile>

namespace orvane::platform {

QString toQString(const std::filesystem::path& path) {
#ifdef Q_OS_WIN
    return QString::fromStdWString(path.native());
#else
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
#endif
}

std::filesystem::path toPath(const QString& text) {
#ifdef Q_OS_WIN
    // Qt's dialogs and drops put "/" between the parts; Windows writes "\".
    return std::filesystem::path(text.toStdWString()).make_preferred();
#else
    return std::filesystem::path(QFile::encodeName(text).toStdString());
#endif
}

}  // namespace orvane::platform

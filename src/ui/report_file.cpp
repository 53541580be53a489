#include "ui/report_file.h"

#include <QSaveFile>

#include "platform/path_conversion.h"

namespace orvane::ui {

bool saveReportText(const QStringList& lines, const std::filesystem::path& file, std::string& error) {
    QSaveFile out(platform::toQString(file));
    // Text mode writes the system's line ends.
    if (out.open(QIODevice::WriteOnly | QIODevice::Text)) {
        for (const QString& line : lines) {
            out.write(line.toUtf8());
            out.write("\n");
        }
        if (out.commit()) return true;
    }
    error = out.errorString().toStdString();
    return false;
}

std::filesystem::path reportPathFor(const std::filesystem::path& shape) {
    std::filesystem::path result = shape;
    result += ".report.txt";
    return result;
}

}  // namespace orvane::ui

#include "ui/report_lines.h"

namespace orvane::ui {

QVariant ReportLines::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= lines_.size()) return {};
    if (role == Qt::DisplayRole) return lines_[index.row()];
    return {};
}

void ReportLines::append(const QStringList& lines) {
    if (lines.isEmpty()) return;
    const int first = int(lines_.size());
    beginInsertRows({}, first, first + int(lines.size()) - 1);
    lines_ += lines;
    endInsertRows();
}

void ReportLines::clear() {
    if (lines_.isEmpty()) return;
    beginResetModel();
    lines_ = QStringList();
    endResetModel();
}

}  // namespace orvane::ui

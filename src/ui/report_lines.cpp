#include "ui/report_lines.h"

namespace orvane::ui {

QVariant ReportLines::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= count() || role != Qt::DisplayRole) return {};
    return line(index.row());
}

QString ReportLines::line(int row) const {
    const std::size_t start = row == 0 ? 0 : ends_[std::size_t(row) - 1];
    return QString::fromUtf8(text_.data() + start, qsizetype(ends_[std::size_t(row)] - start));
}

QStringList ReportLines::lines() const {
    QStringList result;
    result.reserve(count());
    for (int row = 0; row < count(); ++row) result << line(row);
    return result;
}

void ReportLines::append(const LineBatch& batch) {
    if (batch.empty()) return;
    const int first = count();
    beginInsertRows({}, first, first + int(batch.ends.size()) - 1);
    const std::size_t offset = text_.size();
    text_ += batch.text;
    ends_.reserve(ends_.size() + batch.ends.size());
    for (const std::size_t end : batch.ends) ends_.push_back(offset + end);
    endInsertRows();
}

void ReportLines::clear() {
    if (ends_.empty()) return;
    beginResetModel();
    std::string().swap(text_);
    std::vector<std::size_t>().swap(ends_);
    endResetModel();
}

}  // namespace orvane::ui

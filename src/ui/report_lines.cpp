#include "ui/report_lines.h"

#include <algorithm>

namespace orvane::ui {

QVariant ReportLines::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= count() || role != Qt::DisplayRole) return {};
    return line(index.row());
}

std::string_view ReportLines::text(int row) const {
    if (row < 0 || row >= count_) return {};
    const auto after = std::upper_bound(chunks_.begin(), chunks_.end(), row,
                                        [](int r, const Chunk& chunk) { return r < chunk.firstRow; });
    const Chunk& chunk = *std::prev(after);
    const std::size_t i = std::size_t(row - chunk.firstRow);
    const std::uint32_t start = i == 0 ? 0 : chunk.lines.ends[i - 1];
    return std::string_view(chunk.lines.text).substr(start, chunk.lines.ends[i] - start);
}

QString ReportLines::line(int row) const {
    const std::string_view utf8 = text(row);
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

QStringList ReportLines::lines() const {
    QStringList result;
    result.reserve(count());
    for (int row = 0; row < count(); ++row) result << line(row);
    return result;
}

void ReportLines::append(LineBatch batch) {
    if (batch.empty()) return;
    const int added = int(batch.ends.size());
    beginInsertRows({}, count_, count_ + added - 1);
    chunks_.push_back({count_, std::move(batch)});
    count_ += added;
    endInsertRows();
}

void ReportLines::clear() {
    if (count_ == 0) return;
    beginResetModel();
    std::vector<Chunk>().swap(chunks_);
    count_ = 0;
    endResetModel();
}

}  // namespace orvane::ui

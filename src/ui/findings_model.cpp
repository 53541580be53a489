#include "ui/findings_model.h"

#include <limits>

namespace orvane::ui {

namespace {

// A list model counts its rows in an int.
int rowsOf(const geometry::LodGeometry* lod) {
    if (!lod) return 0;
    const std::size_t most = static_cast<std::size_t>(std::numeric_limits<int>::max());
    return static_cast<int>(std::min(lod->findings.size(), most));
}

}  // namespace

void FindingsModel::setLod(std::shared_ptr<const ViewShape> shape, const geometry::LodGeometry* lod) {
    beginResetModel();
    shape_ = std::move(shape);
    lod_ = lod;
    endResetModel();
}

int FindingsModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rowsOf(lod_); }

QVariant FindingsModel::data(const QModelIndex& index, int role) const {
    const geometry::PlacedFinding* f = finding(index.row());
    // The tool tip holds the whole text when the list is too narrow for it.
    if (!f || (role != Qt::DisplayRole && role != Qt::ToolTipRole)) return {};
    std::string text = geometry::describe(*f);
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = char(text[0] - 'a' + 'A');
    return QString::fromStdString(text);
}

const geometry::PlacedFinding* FindingsModel::finding(int row) const {
    if (row < 0 || row >= rowsOf(lod_)) return nullptr;
    return &lod_->findings[static_cast<std::size_t>(row)];
}

int FindingsModel::rowOf(const geometry::PlacedFinding* finding) const {
    if (!lod_ || !finding || lod_->findings.empty()) return -1;
    const geometry::PlacedFinding* first = lod_->findings.data();
    if (finding < first || finding >= first + lod_->findings.size()) return -1;
    const auto row = finding - first;
    return row < rowsOf(lod_) ? static_cast<int>(row) : -1;
}

}  // namespace orvane::ui

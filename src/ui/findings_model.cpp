#include "ui/findings_model.h"

#include <algorithm>
#include <limits>

#include "findings/finding.h"

namespace orvane::ui {

namespace {

// A list model counts its rows in an int.
constexpr std::size_t kMostRows = static_cast<std::size_t>(std::numeric_limits<int>::max() / 2);

QString sentence(std::string text) {
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = char(text[0] - 'a' + 'A');
    return QString::fromStdString(text);
}

}  // namespace

void FindingsModel::setLod(std::shared_ptr<const ViewShape> shape, const geometry::LodGeometry* lod, bool problems) {
    beginResetModel();
    shape_ = std::move(shape);
    lod_ = lod;
    problems_.clear();
    if (shape_ && lod_ && problems)
        for (const findings::Finding& f : shape_->problems.listed)
            if (!f.place.lod || *f.place.lod == lod_->lod) problems_.push_back(&f);
    endResetModel();
}

int FindingsModel::placedRows() const { return lod_ ? static_cast<int>(std::min(lod_->findings.size(), kMostRows)) : 0; }

int FindingsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : placedRows() + static_cast<int>(std::min(problems_.size(), kMostRows));
}

QVariant FindingsModel::data(const QModelIndex& index, int role) const {
    // The tool tip holds the whole text when the list is too narrow for it.
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    if (const geometry::PlacedFinding* f = finding(index.row())) return sentence(geometry::describe(*f));
    if (const findings::Finding* f = problem(index.row())) {
        const std::string place = findings::placeText(f->place);
        return sentence(place.empty() ? f->words : f->words + ", " + place);
    }
    return {};
}

const geometry::PlacedFinding* FindingsModel::finding(int row) const {
    if (row < 0 || row >= placedRows()) return nullptr;
    return &lod_->findings[static_cast<std::size_t>(row)];
}

const findings::Finding* FindingsModel::problem(int row) const {
    const int k = row - placedRows();
    if (row < 0 || k < 0 || static_cast<std::size_t>(k) >= problems_.size()) return nullptr;
    return problems_[static_cast<std::size_t>(k)];
}

int FindingsModel::rowOf(const geometry::PlacedFinding* finding) const {
    if (!lod_ || !finding || lod_->findings.empty()) return -1;
    const geometry::PlacedFinding* first = lod_->findings.data();
    if (finding < first || finding >= first + lod_->findings.size()) return -1;
    const auto row = finding - first;
    return row < placedRows() ? static_cast<int>(row) : -1;
}

}  // namespace orvane::ui

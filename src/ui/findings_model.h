#pragma once
// The findings of one LOD as a list model: a row's text is made when the
// view asks for it, so a LOD with a hundred thousand short edges lists at
// once.

#include <QAbstractListModel>
#include <memory>

#include "geometry/lod_geometry.h"
#include "ui/view_shape.h"

namespace orvane::ui {

class FindingsModel : public QAbstractListModel {
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    void setLod(std::shared_ptr<const ViewShape> shape, const geometry::LodGeometry* lod);
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    const geometry::PlacedFinding* finding(int row) const;
    // The row of a finding of the LOD, or -1.
    int rowOf(const geometry::PlacedFinding* finding) const;

private:
    std::shared_ptr<const ViewShape> shape_;
    const geometry::LodGeometry* lod_ = nullptr;
};

}  // namespace orvane::ui

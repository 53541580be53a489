#pragma once
// The findings of one LOD as a list model: first those placed on its
// triangles (short edges, oversize parts, faults, split pieces), then, for
// the shape as read, what the simulators trip on in this LOD or in the
// shape as a whole. A row's text is made when the view asks for it, so a
// LOD with a hundred thousand short edges lists at once.

#include <QAbstractListModel>
#include <memory>
#include <vector>

#include "geometry/lod_geometry.h"
#include "ui/view_shape.h"

namespace orvane::ui {

class FindingsModel : public QAbstractListModel {
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    // problems: the shape's own findings to list with the LOD's (none for the shape as written).
    void setLod(std::shared_ptr<const ViewShape> shape, const geometry::LodGeometry* lod, bool problems);
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // The row's finding: one placed on the triangles, or one of the shape's own.
    const geometry::PlacedFinding* finding(int row) const;
    const findings::Finding* problem(int row) const;
    // The row of a finding of the LOD, or -1.
    int rowOf(const geometry::PlacedFinding* finding) const;

private:
    int placedRows() const;

    std::shared_ptr<const ViewShape> shape_;
    const geometry::LodGeometry* lod_ = nullptr;
    std::vector<const findings::Finding*> problems_;
};

}  // namespace orvane::ui

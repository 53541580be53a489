#pragma once
// The view of the last run's shape: one LOD drawn with its findings, a LOD
// chooser (the most detailed first), after a run that wrote an output a
// switch between the shape as read and as written, the LOD's findings
// beside the picture (selecting one frames and outlines it) and, under the
// picture, the name of the triangle under the cursor.

#include <QWidget>
#include <memory>

#include "geometry/report_places.h"
#include "ui/view_shape.h"

class QComboBox;
class QLabel;
class QListView;
class QRadioButton;

namespace orvane::ui {

class FindingsModel;
class ShapeCanvas;

class ViewWindow : public QWidget {
    Q_OBJECT

public:
    explicit ViewWindow(QWidget* parent = nullptr);

    // Shows a run's shape: its first LOD as read, the whole of it in view.
    void setShape(std::shared_ptr<const ViewShape> shape);
    // The shape as read, on the LOD of the place, framed on it; its finding,
    // if it has one, selected.
    void showPlace(const geometry::ReportPlace& place);

    void setShowingRepaired(bool repaired);
    bool showingRepaired() const { return repaired_; }
    int lod() const { return lod_; }
    void setLod(int lod);
    // The selected finding placed on the triangles, if that is what is selected.
    const geometry::PlacedFinding* selectedFinding() const;
    // The LOD shown, as read or as written.
    const geometry::LodGeometry* shownLod() const;
    ShapeCanvas& canvas() const { return *canvas_; }
    const ViewShape* shape() const { return shape_.get(); }

private:
    void fillLodChooser();
    void showLod();
    void selectFinding(const geometry::PlacedFinding* finding);
    void findingChosen();

    std::shared_ptr<const ViewShape> shape_;
    int lod_ = 0;
    bool repaired_ = false;

    QComboBox* lodChooser_ = nullptr;
    QRadioButton* original_ = nullptr;
    QRadioButton* repairedButton_ = nullptr;
    ShapeCanvas* canvas_ = nullptr;
    QLabel* findingsTitle_ = nullptr;
    QListView* findings_ = nullptr;
    FindingsModel* findingsModel_ = nullptr;
    QLabel* cursorName_ = nullptr;
};

}  // namespace orvane::ui

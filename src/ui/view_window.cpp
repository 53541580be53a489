#include "ui/view_window.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QLocale>
#include <QRadioButton>
#include <QSplitter>
#include <QVBoxLayout>
#include <algorithm>
#include <numeric>

#include "document/path_text.h"
#include "picture/orbit_camera.h"
#include "ui/findings_model.h"
#include "ui/shape_canvas.h"

namespace orvane::ui {

ViewWindow::ViewWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("view"));
    auto* chooserLabel = new QLabel(tr("&LOD:"), this);
    lodChooser_ = new QComboBox(this);
    lodChooser_->setObjectName(QStringLiteral("lodChooser"));
    lodChooser_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    chooserLabel->setBuddy(lodChooser_);
    original_ = new QRadioButton(tr("&Original"), this);
    original_->setObjectName(QStringLiteral("original"));
    original_->setToolTip(tr("The shape as read"));
    repairedButton_ = new QRadioButton(tr("&Repaired"), this);
    repairedButton_->setObjectName(QStringLiteral("repaired"));
    repairedButton_->setToolTip(tr("The shape as written, the pieces of each split primitive in alternating colours"));
    auto* group = new QButtonGroup(this);
    group->addButton(original_);
    group->addButton(repairedButton_);
    original_->setChecked(true);
    auto* hint = new QLabel(tr("Drag: turn   Shift+drag or middle drag: move   Wheel: zoom   F: whole shape"), this);
    hint->setEnabled(false);

    auto* top = new QHBoxLayout;
    top->addWidget(chooserLabel);
    top->addWidget(lodChooser_);
    top->addSpacing(16);
    top->addWidget(original_);
    top->addWidget(repairedButton_);
    top->addStretch(1);
    top->addWidget(hint);

    canvas_ = new ShapeCanvas(this);
    canvas_->setObjectName(QStringLiteral("canvas"));
    auto* side = new QWidget(this);
    findingsTitle_ = new QLabel(side);
    findings_ = new QListView(side);
    findings_->setObjectName(QStringLiteral("findings"));
    findings_->setUniformItemSizes(true);
    findings_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    findings_->setSelectionMode(QAbstractItemView::SingleSelection);
    findingsModel_ = new FindingsModel(this);
    findings_->setModel(findingsModel_);
    findingsTitle_->setBuddy(findings_);
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    sideLayout->addWidget(findingsTitle_);
    sideLayout->addWidget(findings_);
    auto* splitter = new QSplitter(this);
    splitter->addWidget(canvas_);
    splitter->addWidget(side);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);
    splitter->setChildrenCollapsible(false);
    splitter->setSizes({760, 340});

    cursorName_ = new QLabel(this);
    cursorName_->setObjectName(QStringLiteral("cursorName"));
    cursorName_->setTextFormat(Qt::PlainText);
    cursorName_->setMinimumHeight(cursorName_->fontMetrics().height());

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(splitter, 1);
    layout->addWidget(cursorName_);
    resize(1100, 680);

    connect(lodChooser_, &QComboBox::activated, this,
            [this](int index) { setLod(lodChooser_->itemData(index).toInt()); });
    connect(repairedButton_, &QRadioButton::toggled, this, [this](bool on) { setShowingRepaired(on); });
    connect(findings_->selectionModel(), &QItemSelectionModel::currentChanged, this, &ViewWindow::findingChosen);
    connect(canvas_, &ShapeCanvas::cursorNameChanged, cursorName_, &QLabel::setText);
}

void ViewWindow::setShape(std::shared_ptr<const ViewShape> shape) {
    shape_ = std::move(shape);
    repaired_ = false;
    lod_ = 0;
    setWindowTitle(shape_ ? tr("%1 - View - Orvane").arg(QString::fromStdString(pathText(shape_->file.filename())))
                          : tr("View - Orvane"));
    const bool canRepair = shape_ && shape_->hasRepaired();
    repairedButton_->setEnabled(canRepair);
    original_->setEnabled(canRepair);
    original_->setChecked(true);
    fillLodChooser();
    showLod();
    canvas_->fitAll();
}

void ViewWindow::fillLodChooser() {
    lodChooser_->clear();
    if (!shape_) return;
    const auto& lods = shape_->original;
    // The most detailed first: by triangles, the file's order where they tie.
    std::vector<int> order(lods.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return lods[std::size_t(a)].triangles.size() > lods[std::size_t(b)].triangles.size(); });
    const QLocale locale;
    for (int lod : order)
        lodChooser_->addItem(tr("LOD %1: %2 triangles")
                                 .arg(lod)
                                 .arg(locale.toString(static_cast<qlonglong>(lods[std::size_t(lod)].triangles.size()))),
                             lod);
    if (!order.empty()) lod_ = order.front();
}

const geometry::LodGeometry* ViewWindow::shownLod() const {
    if (!shape_) return nullptr;
    const auto& lods = shape_->lods(repaired_);
    return lod_ >= 0 && std::size_t(lod_) < lods.size() ? &lods[std::size_t(lod_)] : nullptr;
}

void ViewWindow::showLod() {
    const geometry::LodGeometry* lod = shownLod();
    lodChooser_->setCurrentIndex(lodChooser_->findData(lod_));
    findingsModel_->setLod(shape_, lod, !repaired_);
    findingsTitle_->setText(tr("&Findings (%1)").arg(QLocale().toString(findingsModel_->rowCount())));
    canvas_->setSelected(std::nullopt);
    canvas_->setLod(shape_, lod);
}

void ViewWindow::setLod(int lod) {
    if (!shape_ || lod < 0 || std::size_t(lod) >= shape_->original.size() || lod == lod_) return;
    lod_ = lod;
    showLod();
}

void ViewWindow::setShowingRepaired(bool repaired) {
    repaired = repaired && shape_ && shape_->hasRepaired();
    if (repaired == repaired_) return;
    repaired_ = repaired;
    (repaired ? repairedButton_ : original_)->setChecked(true);
    showLod();
}

const geometry::PlacedFinding* ViewWindow::selectedFinding() const {
    return findingsModel_->finding(findings_->currentIndex().row());
}

void ViewWindow::selectFinding(const geometry::PlacedFinding* finding) {
    const int row = findingsModel_->rowOf(finding);
    if (row < 0) {
        findings_->setCurrentIndex({});
        return;
    }
    const QModelIndex index = findingsModel_->index(row);
    findings_->setCurrentIndex(index);
    findings_->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void ViewWindow::findingChosen() {
    const geometry::LodGeometry* lod = shownLod();
    const int row = findings_->currentIndex().row();
    if (const geometry::PlacedFinding* finding = findingsModel_->finding(row); finding && lod) {
        canvas_->setSelected(*finding);
        canvas_->frameOn(picture::boundsOf(*lod, *finding));
        return;
    }
    // One of the shape's own findings: its sub-object or primitive, where it has one.
    const findings::Finding* problem = findingsModel_->problem(row);
    if (!problem || !lod || !problem->place.subObject) {
        canvas_->setSelected(std::nullopt);
        return;
    }
    const findings::Place& place = problem->place;
    geometry::PlacedFinding outline;
    outline.lod = lod->lod;
    outline.subObject = static_cast<std::int32_t>(*place.subObject);
    outline.primitive = place.primitive ? static_cast<std::int32_t>(*place.primitive) : geometry::kNoPlace;
    canvas_->setSelected(outline);
    canvas_->frameOn(picture::boundsOfPlace(*lod, outline.subObject, outline.primitive));
}

void ViewWindow::showPlace(const geometry::ReportPlace& place) {
    if (!shape_) return;
    setShowingRepaired(false);
    if (place.lod >= 0 && std::size_t(place.lod) < shape_->original.size()) setLod(place.lod);
    const geometry::LodGeometry* lod = shownLod();
    if (!lod) return;
    if (const geometry::PlacedFinding* finding = geometry::findingAt(*lod, place)) {
        const QModelIndex before = findings_->currentIndex();
        selectFinding(finding);
        // A finding that was selected already is framed again.
        if (findings_->currentIndex() == before) findingChosen();
        return;
    }
    selectFinding(nullptr);
    canvas_->setSelected(std::nullopt);
    if (place.subObject == geometry::kNoPlace)
        canvas_->fitAll();
    else
        canvas_->frameOn(picture::boundsOfPlace(*lod, place.subObject, place.primitive));
}

}  // namespace orvane::ui

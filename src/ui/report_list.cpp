#include "ui/report_list.h"

#include <QScrollBar>

namespace orvane::ui {

namespace {

// Once the visible rows are filled, appended lines only lengthen the scroll
// range, so a full relayout (linear in the number of lines) is done at most
// this often instead of after every line.
constexpr qint64 kRelayoutIntervalMs = 100;

}  // namespace

ReportList::ReportList(QWidget* parent) : QListWidget(parent) {
    setUniformItemSizes(true);
    sinceLayout_.start();
    // A cleared list shows nothing that was laid out before.
    connect(model(), &QAbstractItemModel::modelReset, this, [this] { laidOutRows_ = 0; });
    connect(model(), &QAbstractItemModel::rowsRemoved, this, [this] { laidOutRows_ = 0; });
}

ReportList::~ReportList() {
    // The base class clears the model while it is destroyed; nothing of this class may hear that.
    model()->disconnect(this);
}

void ReportList::appendLine(const std::string& line) { addItem(QString::fromStdString(line)); }

QStringList ReportList::lines() const {
    QStringList result;
    result.reserve(count());
    for (int row = 0; row < count(); ++row) result << item(row)->text();
    return result;
}

bool ReportList::fillsView(int rows) const {
    if (rows == 0 || count() == 0) return false;
    const int rowHeight = qMax(1, sizeHintForRow(0));
    return qint64(rows) * rowHeight >= viewport()->height();
}

void ReportList::repaintNow() {
    if (fillsView(laidOutRows_) && sinceLayout_.elapsed() < kRelayoutIntervalMs) return;
    doItemsLayout();
    viewport()->repaint();
    verticalScrollBar()->repaint();
    laidOutRows_ = count();
    sinceLayout_.restart();
}

}  // namespace orvane::ui

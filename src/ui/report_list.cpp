#include "ui/report_list.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <algorithm>

namespace orvane::ui {

namespace {

// Once the visible rows are filled, appended lines only lengthen the scroll
// range, so a full relayout (linear in the number of lines) is done at most
// this often instead of after every line.
constexpr qint64 kRelayoutIntervalMs = 100;

// Lines as clipboard text: one per line, tabs kept.
QString asText(const QStringList& lines) { return lines.isEmpty() ? QString() : lines.join(u'\n') + u'\n'; }

}  // namespace

ReportList::ReportList(QWidget* parent) : QListWidget(parent) {
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    copy_ = new QAction(tr("&Copy"), this);
    copy_->setShortcut(QKeySequence::Copy);
    copy_->setShortcutContext(Qt::WidgetShortcut);
    connect(copy_, &QAction::triggered, this, &ReportList::copySelected);
    addAction(copy_);
    copyAll_ = new QAction(tr("Copy &All"), this);
    connect(copyAll_, &QAction::triggered, this, &ReportList::copyAll);
    addAction(copyAll_);
    sinceLayout_.start();
    // A cleared list shows nothing that was laid out before.
    connect(model(), &QAbstractItemModel::modelReset, this, [this] {
        laidOutRows_ = 0;
        updateActions();
    });
    connect(model(), &QAbstractItemModel::rowsRemoved, this, [this] {
        laidOutRows_ = 0;
        updateActions();
    });
    connect(model(), &QAbstractItemModel::rowsInserted, this, &ReportList::updateActions);
    updateActions();
    // Growing lines move the end away without moving the scroll bar, so only
    // a move of the bar (by the user, or to the end below) changes this.
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this](int value) { followEnd_ = value >= verticalScrollBar()->maximum(); });
}

void ReportList::updateGeometries() {
    QListWidget::updateGeometries();
    if (followEnd_) verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void ReportList::updateActions() {
    const bool hasLines = count() > 0;
    if (hasLines == hadLines_) return;
    hadLines_ = hasLines;
    copy_->setEnabled(hasLines);
    copyAll_->setEnabled(hasLines);
    emit hasLinesChanged(hasLines);
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

void ReportList::copySelected() {
    QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty()) return;  // the clipboard keeps what it holds
    std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QStringList selected;
    selected.reserve(rows.size());
    for (const QModelIndex& row : rows) selected << row.data().toString();
    QGuiApplication::clipboard()->setText(asText(selected));
}

void ReportList::copyAll() { QGuiApplication::clipboard()->setText(asText(lines())); }

void ReportList::keyPressEvent(QKeyEvent* event) {
    // The list's own Ctrl+C would copy only the current line.
    if (event->matches(QKeySequence::Copy)) {
        copySelected();
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
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

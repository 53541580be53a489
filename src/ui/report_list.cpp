#include "ui/report_list.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <algorithm>

#include "ui/report_lines.h"

namespace orvane::ui {

namespace {

// Lines as clipboard text: one per line, tabs kept.
QString asText(const QStringList& lines) { return lines.isEmpty() ? QString() : lines.join(u'\n') + u'\n'; }

}  // namespace

ReportList::ReportList(QWidget* parent) : QTableView(parent), lines_(new ReportLines(this)) {
    setModel(lines_);
    horizontalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 2);
    setShowGrid(false);
    setWordWrap(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
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
    connect(lines_, &QAbstractItemModel::modelReset, this, &ReportList::updateActions);
    connect(lines_, &QAbstractItemModel::rowsInserted, this, &ReportList::updateActions);
    updateActions();
    // Growing lines move the end away without moving the scroll bar, so only
    // a move of the bar (by the user, or to the end below) changes this.
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this](int value) { followEnd_ = value >= verticalScrollBar()->maximum(); });
}

ReportList::~ReportList() {
    // The model goes with this list; nothing of this class may hear that.
    lines_->disconnect(this);
}

void ReportList::updateGeometries() {
    QTableView::updateGeometries();
    if (followEnd_) verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void ReportList::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange) verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 2);
}

void ReportList::updateActions() {
    const bool hasLines = count() > 0;
    if (hasLines == hadLines_) return;
    hadLines_ = hasLines;
    copy_->setEnabled(hasLines);
    copyAll_->setEnabled(hasLines);
    emit hasLinesChanged(hasLines);
}

void ReportList::appendLine(const std::string& line) {
    LineBatch batch;
    batch.add(line);
    lines_->append(std::move(batch));
}

void ReportList::appendLines(LineBatch lines) { lines_->append(std::move(lines)); }

void ReportList::clear() {
    lines_->clear();
    followEnd_ = true;
}

int ReportList::count() const { return lines_->count(); }

QStringList ReportList::lines() const { return lines_->lines(); }

std::string ReportList::lineText(int row) const { return std::string(lines_->text(row)); }

void ReportList::copySelected() {
    QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty()) return;  // the clipboard keeps what it holds
    std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QStringList selected;
    selected.reserve(rows.size());
    for (const QModelIndex& row : rows) selected << lines_->line(row.row());
    QGuiApplication::clipboard()->setText(asText(selected));
}

void ReportList::copyAll() { QGuiApplication::clipboard()->setText(asText(lines())); }

void ReportList::keyPressEvent(QKeyEvent* event) {
    // The view's own Ctrl+C would copy only the current line.
    if (event->matches(QKeySequence::Copy)) {
        copySelected();
        event->accept();
        return;
    }
    // Shift+F10 opens the context menu, as the menu key does, at the current line.
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        const QRect current = visualRect(currentIndex());
        const QPoint at = current.isValid() && viewport()->rect().intersects(current) ? current.center()
                                                                                     : viewport()->rect().center();
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, at, viewport()->mapToGlobal(at));
        QCoreApplication::sendEvent(this, &menu);
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

}  // namespace orvane::ui

#pragma once
// The report's lines as a list model: one row per line, appended in batches
// (one row insertion per batch, however many lines), so that a report of
// millions of lines is shown and dropped quickly.

#include <QAbstractListModel>
#include <QStringList>

namespace orvane::ui {

class ReportLines : public QAbstractListModel {
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(lines_.size()); }
    QVariant data(const QModelIndex& index, int role) const override;

    void append(const QStringList& lines);
    void clear();
    const QStringList& lines() const { return lines_; }

private:
    QStringList lines_;
};

}  // namespace orvane::ui

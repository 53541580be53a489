#pragma once
// The report's lines as a list model. The lines are kept as one UTF-8 text
// with the end of each line, so that millions of lines take two blocks of
// memory, are appended in batches (one row insertion per batch) and are
// dropped at once; a row's text is made when the view asks for it.

#include <QAbstractListModel>
#include <QStringList>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::ui {

// Lines gathered for one append: their texts one after another, and where
// each ends.
struct LineBatch {
    std::string text;
    std::vector<std::size_t> ends;

    void add(std::string_view line) {
        text += line;
        ends.push_back(text.size());
    }
    bool empty() const { return ends.empty(); }
};

class ReportLines : public QAbstractListModel {
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : count(); }
    QVariant data(const QModelIndex& index, int role) const override;

    void append(const LineBatch& batch);
    void clear();
    int count() const { return int(ends_.size()); }
    QString line(int row) const;
    QStringList lines() const;

private:
    std::string text_;
    std::vector<std::size_t> ends_;
};

}  // namespace orvane::ui

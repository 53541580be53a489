#pragma once
// The report's lines as a list model. Each batch of lines is kept as it came,
// one UTF-8 text with the end of each line, so that millions of lines take a
// few blocks of memory, are appended without copying what is there (one row
// insertion per batch) and are dropped at once; a row's text is made when
// the view asks for it.

#include <QAbstractListModel>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::ui {

// Lines gathered for one append: their texts one after another, and where
// each ends.
struct LineBatch {
    std::string text;
    std::vector<std::uint32_t> ends;

    void add(std::string_view line) {
        text += line;
        ends.push_back(static_cast<std::uint32_t>(text.size()));
    }
    // A batch holds at most this much text; the run starts a new one after.
    static constexpr std::size_t kMostText = std::size_t(1) << 30;
    bool empty() const { return ends.empty(); }
};

class ReportLines : public QAbstractListModel {
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : count(); }
    QVariant data(const QModelIndex& index, int role) const override;

    void append(LineBatch batch);
    void clear();
    int count() const { return count_; }
    QString line(int row) const;
    // A line's UTF-8 text, valid until the list changes; empty past the end.
    std::string_view text(int row) const;
    QStringList lines() const;

private:
    struct Chunk {
        int firstRow;
        LineBatch lines;
    };
    std::vector<Chunk> chunks_;
    int count_ = 0;
};

}  // namespace orvane::ui

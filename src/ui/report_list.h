#pragma once
// The report list: one line per entry, appended at the end, tabs separating
// columns. Lines arrive in batches from a run on another thread; the list
// keeps its last line in view unless the user has scrolled up. The user may
// select lines and copy them (Ctrl+C and the context menu, which the window
// extends; Shift+F10 and the menu key open it from the keyboard). It is a
// one-column table without headers: its rows of one height are placed by
// arithmetic, so appending lines costs nothing for the lines already there.

#include <QTableView>
#include <string>

namespace orvane::ui {

class ReportLines;
struct LineBatch;

class ReportList : public QTableView {
    Q_OBJECT

public:
    explicit ReportList(QWidget* parent = nullptr);
    ~ReportList() override;

    void appendLine(const std::string& line);
    void appendLines(LineBatch lines);
    void clear();
    int count() const;
    // The lines, in order.
    QStringList lines() const;
    // The text of one line (UTF-8); empty past the end.
    std::string lineText(int row) const;
    // The selected lines in list order, one per line, to the clipboard.
    void copySelected();
    // Every line to the clipboard.
    void copyAll();

signals:
    // The list got its first line or lost its last one.
    void hasLinesChanged(bool hasLines);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // After each layout: keeps the last line in view unless the user has
    // scrolled up from the end.
    void updateGeometries() override;
    void changeEvent(QEvent* event) override;

private:
    // Copy and Copy All are on only while there are lines.
    void updateActions();

    ReportLines* lines_ = nullptr;
    QAction* copy_ = nullptr;
    QAction* copyAll_ = nullptr;
    bool hadLines_ = true;
    bool followEnd_ = true;
};

}  // namespace orvane::ui

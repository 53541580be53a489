#pragma once
// The report list: one line per entry, appended at the end, tabs separating
// columns. The run asks for a repaint after many lines; repaintNow keeps the
// cost of that bounded on long reports. The user may select lines and copy
// them (Ctrl+C and the context menu, which the window extends).

#include <QElapsedTimer>
#include <QListWidget>
#include <string>

namespace orvane::ui {

class ReportList : public QListWidget {
    Q_OBJECT

public:
    explicit ReportList(QWidget* parent = nullptr);
    ~ReportList() override;

    void appendLine(const std::string& line);
    // Shows the lines appended so far without waiting for the event loop.
    void repaintNow();
    // The lines, in order.
    QStringList lines() const;
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

private:
    // Whether `rows` lines fill the visible part of the list.
    bool fillsView(int rows) const;

    // Copy and Copy All are on only while there are lines.
    void updateActions();

    QAction* copy_ = nullptr;
    QAction* copyAll_ = nullptr;
    bool hadLines_ = true;
    bool followEnd_ = true;
    QElapsedTimer sinceLayout_;
    int laidOutRows_ = 0;  // lines shown by the last repaint
};

}  // namespace orvane::ui

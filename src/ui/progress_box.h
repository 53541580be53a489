#pragma once
// The one-line progress box of the window: either a status text, or a
// caption with a percentage and a bar. It keeps its picture in an image of
// its inner area at the screen's pixel ratio, so what was drawn stays until the next drawing operation,
// and the bar can invert what lies under it (not-xor with the foreground).

#include <QFrame>
#include <QImage>
#include <QString>
#include <string>

namespace orvane::ui {

class ProgressBox : public QFrame {
    Q_OBJECT

public:
    explicit ProgressBox(QWidget* parent = nullptr);

    // The caption shown with the percentage (the box's tag text); empty for none.
    void setTag(const std::string& caption) { tag_ = caption; }
    const std::string& tag() const { return tag_; }

    // Redraws the box at percentage p: caption or nothing, the percentage
    // right-aligned, and the bar.
    void pc(float p);
    // Clears the box and shows text as the status line.
    void prt(const std::string& text);
    // Redraws at the last percentage plus d.
    void addPerc(float d) { pc(curPerc_ + d); }

    float curPerc() const { return curPerc_; }
    // What is drawn now: the text at the left, the percentage text (empty
    // when none), the bar's width in pixels, and the picture itself.
    const QString& statusText() const { return statusText_; }
    const QString& percentText() const { return percentText_; }
    int barWidth() const { return barWidth_; }
    const QImage& picture() const { return picture_; }
    // The picture's width in the widget's units (its pixels may be finer).
    int innerWidth() const { return qRound(picture_.deviceIndependentSize().width()); }

    // Height of the bar in pixels.
    static constexpr int kBarHeight = 25;
    // Where the status text and the caption start.
    static constexpr int kTextMargin = 5;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void clearPicture();
    // Draws what is shown anew, after a change of size or scale.
    void redraw();
    void print(int x, const QString& text);
    void showText(const QString& text);
    // The caption shortened in its middle, the file name kept whole, so
    // that it ends before the percentage.
    QString fittedCaption() const;

    std::string tag_;
    float curPerc_ = 0.0f;
    QImage picture_;
    QString statusText_;
    QString percentText_;
    int barWidth_ = 0;
    bool showsPercent_ = false;  // the last drawing was pc, not prt
};

// The percentage as the box prints it: p to the nearest whole number
// (halves to even) with a blank before and after it, then "%": " 45 %".
QString percentLabel(float p);

}  // namespace orvane::ui

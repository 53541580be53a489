#include "ui/progress_box.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace orvane::ui {

namespace {

// The bar is drawn in the text colour; black makes not-xor an exact inversion.
const QColor kForeground = Qt::black;

// Sample whose width fixes where the right-aligned percentage starts.
const QString kPercentSample = QStringLiteral("99%  ");

}  // namespace

QString percentLabel(float p) {
    const double whole = std::isfinite(p) ? std::nearbyint(static_cast<double>(p)) : 0.0;
    // Like a printed number: a blank (or the minus sign) before it, a blank after.
    const QString digits = QString::number(std::abs(whole), 'f', 0);
    return (whole < 0 ? QStringLiteral("-") : QStringLiteral(" ")) + digits + QStringLiteral(" %");
}

ProgressBox::ProgressBox(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    clearPicture();
}

void ProgressBox::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    if (contentsRect().size() != picture_.deviceIndependentSize().toSize()) redraw();
}

void ProgressBox::redraw() {
    if (showsPercent_)
        pc(curPerc_);
    else
        showText(statusText_);
}

void ProgressBox::clearPicture() {
    // The picture has the screen's own pixels: at 150 % the caption is drawn
    // at 150 %, as sharp as the rest of the window, never stretched.
    const qreal ratio = devicePixelRatioF();
    const QSize inner = contentsRect().size().expandedTo(QSize(1, 1));
    if (picture_.size() != inner * ratio || picture_.devicePixelRatio() != ratio) {
        picture_ = QImage(inner * ratio, QImage::Format_RGB32);
        picture_.setDevicePixelRatio(ratio);
        // Text is measured and drawn at the widget's resolution.
        picture_.setDotsPerMeterX(qRound(logicalDpiX() / 0.0254));
        picture_.setDotsPerMeterY(qRound(logicalDpiY() / 0.0254));
    }
    picture_.fill(palette().color(QPalette::Button));
    statusText_.clear();
    percentText_.clear();
    barWidth_ = 0;
}

void ProgressBox::print(int x, const QString& text) {
    QPainter painter(&picture_);
    painter.setFont(font());
    painter.setPen(kForeground);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    const QFontMetrics metrics(font(), &picture_);
    painter.drawText(x, kTextMargin + metrics.ascent(), text);
}

void ProgressBox::prt(const std::string& text) {
    showsPercent_ = false;
    showText(QString::fromStdString(text));
}

void ProgressBox::showText(const QString& text) {
    const QString shown = text;  // text may be the status text that clearing empties
    clearPicture();
    statusText_ = shown;
    print(kTextMargin, statusText_);
    update();
}

QString ProgressBox::fittedCaption() const {
    const QString caption = QString::fromStdString(tag_);
    const QFontMetrics metrics(font(), &picture_);
    // The box's own width: the picture takes it only when next cleared.
    const int room = contentsRect().width() - metrics.horizontalAdvance(kPercentSample) - 2 * kTextMargin;
    if (metrics.horizontalAdvance(caption) <= room) return caption;
    const qsizetype nameStart = std::max(caption.lastIndexOf(u'/'), caption.lastIndexOf(u'\\'));
    if (nameStart > 0) {
        const QString name = caption.mid(nameStart);
        const QString fitted =
            metrics.elidedText(caption.left(nameStart), Qt::ElideMiddle, room - metrics.horizontalAdvance(name)) + name;
        if (metrics.horizontalAdvance(fitted) <= room) return fitted;
    }
    // A file name too long for the box on its own is shortened too.
    return metrics.elidedText(caption, Qt::ElideMiddle, room);
}

void ProgressBox::pc(float p) {
    curPerc_ = p;
    showsPercent_ = true;
    if (!tag_.empty())
        showText(fittedCaption());
    else
        clearPicture();

    const float shown = std::isfinite(p) ? p : 0.0f;
    const QFontMetrics metrics(font(), &picture_);
    percentText_ = percentLabel(shown);
    print(innerWidth() - metrics.horizontalAdvance(kPercentSample), percentText_);

    // The bar covers (0, 0) to (inner width * p / 100, 25), clipped to the box.
    const float right = static_cast<float>(innerWidth()) * shown / 100.0f;
    barWidth_ = static_cast<int>(std::clamp(std::nearbyint(right), 0.0f, static_cast<float>(innerWidth())));
    if (barWidth_ > 0) {
        // Filled in the picture's own pixels, so that no column at a
        // fractional scale is left half covered.
        const qreal ratio = picture_.devicePixelRatio();
        const int deviceWidth = barWidth_ == innerWidth() ? picture_.width()
                                                          : std::min(picture_.width(), qRound(barWidth_ * ratio));
        picture_.setDevicePixelRatio(1.0);
        {
            QPainter painter(&picture_);
            painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
            painter.fillRect(QRect(0, 0, deviceWidth, qRound(kBarHeight * ratio)), kForeground);
        }
        picture_.setDevicePixelRatio(ratio);
    }
    update();
}

void ProgressBox::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);  // the sunken border
    // Moved to a screen of another scale: drawn anew at its pixels.
    if (picture_.devicePixelRatio() != devicePixelRatioF()) redraw();
    QPainter painter(this);
    painter.drawImage(contentsRect().topLeft(), picture_);
}

}  // namespace orvane::ui

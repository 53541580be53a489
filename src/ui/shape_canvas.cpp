#include "ui/shape_canvas.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>

#include "picture/shape_picture.h"

namespace orvane::ui {

namespace {

// One notch of a mouse wheel.
constexpr double kWheelNotch = 120.0;

}  // namespace

ShapeCanvas::ShapeCanvas(QWidget* parent) : QWidget(parent), renderer_(new FrameRenderer(this)) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(160, 120);
    connect(renderer_, &FrameRenderer::frameReady, this, &ShapeCanvas::takeFrame, Qt::QueuedConnection);
}

void ShapeCanvas::setLod(std::shared_ptr<const ViewShape> shape, const geometry::LodGeometry* lod) {
    shape_ = std::move(shape);
    lod_ = lod;
    redraw();
}

void ShapeCanvas::setSelected(std::optional<geometry::PlacedFinding> selected) {
    selected_ = std::move(selected);
    redraw();
}

void ShapeCanvas::fitAll() {
    if (lod_) {
        const QSize size = pixelSize();
        orbit_.fit(picture::boundsOf(*lod_), size.width(), size.height());
    }
    // Until the user turns the shape, a new size fits it again.
    fitted_ = true;
    redraw();
}

void ShapeCanvas::frameOn(const picture::Bounds& bounds) {
    if (bounds.empty) return;
    fitted_ = false;
    orbit_.frame(bounds);
    redraw();
}

QSize ShapeCanvas::pixelSize() const {
    const qreal ratio = devicePixelRatioF();
    return {std::max(1, static_cast<int>(std::lround(width() * ratio))),
            std::max(1, static_cast<int>(std::lround(height() * ratio)))};
}

void ShapeCanvas::redraw() {
    if (redrawPending_) return;
    redrawPending_ = true;
    QMetaObject::invokeMethod(this, &ShapeCanvas::requestFrame, Qt::QueuedConnection);
}

void ShapeCanvas::requestFrame() {
    redrawPending_ = false;
    const QSize size = pixelSize();
    FrameRequest request;
    request.shape = shape_;
    request.lod = lod_;
    request.camera = orbit_.camera(size.width(), size.height());
    request.width = size.width();
    request.height = size.height();
    request.selected = selected_;
    request.serial = ++requestedSerial_;
    renderer_->request(std::move(request));
}

void ShapeCanvas::takeFrame() {
    std::optional<Frame> frame = renderer_->takeFrame();
    // Frames arrive in the order they were asked for; an older one is of no use.
    if (!frame || frame->request.serial < shownSerial_) return;
    shown_ = std::move(*frame);
    shownSerial_ = shown_.request.serial;
    const picture::Image& image = shown_.image;
    if (image.width > 0 && image.height > 0) {
        shownPicture_ = QImage(image.rgba.data(), image.width, image.height, image.width * 4, QImage::Format_RGBA8888);
        shownPicture_.setDevicePixelRatio(static_cast<qreal>(image.width) / std::max(1, width()));
    } else {
        shownPicture_ = QImage();
    }
    update();
    if (cursor_.x() >= 0) updateCursorName(cursor_);
}

QString ShapeCanvas::nameAt(QPoint point) const {
    const picture::Image& image = shown_.image;
    const geometry::LodGeometry* lod = shown_.request.lod;
    if (!lod || image.width <= 0 || width() <= 0 || height() <= 0) return {};
    const int x = static_cast<int>(std::floor((point.x() + 0.5) * image.width / width()));
    const int y = static_cast<int>(std::floor((point.y() + 0.5) * image.height / height()));
    if (x < 0 || y < 0 || x >= image.width || y >= image.height) return {};
    const std::uint32_t id = image.idAt(x, y);
    if (id == picture::kNoTriangle || id >= lod->triangles.size()) return {};
    const geometry::TriangleTag tag = lod->tag(id);
    return QStringLiteral("LOD %1, sub-object %2, primitive %3, triangle %4")
        .arg(tag.lod)
        .arg(tag.subObject)
        .arg(tag.primitive)
        .arg(tag.polyNumber);
}

void ShapeCanvas::updateCursorName(QPoint point) {
    const QString name = nameAt(point);
    if (name == cursorName_) return;
    cursorName_ = name;
    emit cursorNameChanged(name);
}

void ShapeCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const picture::Rgb background = picture::colours::kBackground;
    painter.fillRect(rect(), QColor(background.r, background.g, background.b));
    // The frame drawn for this size, or the last one stretched while a new one is drawn.
    if (!shownPicture_.isNull()) painter.drawImage(rect(), shownPicture_);
}

void ShapeCanvas::resizeEvent(QResizeEvent*) {
    if (fitted_)
        fitAll();
    else
        redraw();
}

void ShapeCanvas::mousePressEvent(QMouseEvent* event) {
    lastMouse_ = event->position();
    if (event->button() == Qt::MiddleButton ||
        (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ShiftModifier)))
        drag_ = Drag::Pan;
    else if (event->button() == Qt::LeftButton)
        drag_ = Drag::Orbit;
    else
        return;
    event->accept();
}

void ShapeCanvas::mouseMoveEvent(QMouseEvent* event) {
    cursor_ = event->position().toPoint();
    if (drag_ != Drag::None) {
        fitted_ = false;
        const QPointF moved = event->position() - lastMouse_;
        lastMouse_ = event->position();
        const qreal ratio = devicePixelRatioF();
        const QSize size = pixelSize();
        if (drag_ == Drag::Orbit)
            orbit_.orbit(moved.x(), moved.y());
        else
            orbit_.pan(moved.x() * ratio, moved.y() * ratio, size.width(), size.height());
        redraw();
    }
    updateCursorName(cursor_);
}

void ShapeCanvas::mouseReleaseEvent(QMouseEvent*) { drag_ = Drag::None; }

void ShapeCanvas::wheelEvent(QWheelEvent* event) {
    const double steps = event->angleDelta().y() / kWheelNotch;
    if (steps == 0) return;
    fitted_ = false;
    const qreal ratio = devicePixelRatioF();
    const QSize size = pixelSize();
    orbit_.zoomAt(steps, event->position().x() * ratio, event->position().y() * ratio, size.width(), size.height());
    redraw();
    event->accept();
}

void ShapeCanvas::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        fitAll();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ShapeCanvas::leaveEvent(QEvent*) {
    cursor_ = {-1, -1};
    if (!cursorName_.isEmpty()) {
        cursorName_.clear();
        emit cursorNameChanged(cursorName_);
    }
}

}  // namespace orvane::ui

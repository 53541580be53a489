#pragma once
// The picture of one LOD in the view: drawn on the renderer's thread at the
// screen's own pixels, turned with the mouse. Left drag orbits, middle or
// Shift+left drag pans, the wheel zooms toward the cursor, F fits the whole
// LOD. The triangle under the cursor is named from the frame's id buffer.

#include <QImage>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <optional>

#include "picture/orbit_camera.h"
#include "ui/frame_renderer.h"

namespace orvane::ui {

class ShapeCanvas : public QWidget {
    Q_OBJECT

public:
    explicit ShapeCanvas(QWidget* parent = nullptr);

    // Shows another LOD (or the same LOD as read or as written); the camera stays.
    void setLod(std::shared_ptr<const ViewShape> shape, const geometry::LodGeometry* lod);
    void setSelected(std::optional<geometry::PlacedFinding> selected);
    // The whole LOD in view.
    void fitAll();
    // The camera on these bounds with some of their surroundings; nothing when they are empty.
    void frameOn(const picture::Bounds& bounds);

    const picture::OrbitCamera& orbit() const { return orbit_; }
    // The frame on screen is the one last asked for.
    bool frameCurrent() const { return !redrawPending_ && shownSerial_ == requestedSerial_; }
    const picture::Image& shownImage() const { return shown_.image; }
    // "LOD 0, sub-object 3, primitive 2, triangle 1744" for the triangle at a
    // point of the widget; empty over the background or before a frame.
    QString nameAt(QPoint point) const;

    QSize sizeHint() const override { return {800, 560}; }

signals:
    // The name of what is under the cursor changed (empty: nothing).
    void cursorNameChanged(const QString& name);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    enum class Drag { None, Orbit, Pan };

    // The picture's size in the screen's pixels.
    QSize pixelSize() const;
    // Asks for a frame once the current event is handled, so that several
    // changes in one event (a LOD and a selection, say) make one frame.
    void redraw();
    void requestFrame();
    void takeFrame();
    void updateCursorName(QPoint point);

    FrameRenderer* renderer_ = nullptr;
    std::shared_ptr<const ViewShape> shape_;
    const geometry::LodGeometry* lod_ = nullptr;
    std::optional<geometry::PlacedFinding> selected_;
    picture::OrbitCamera orbit_;

    Frame shown_;
    QImage shownPicture_;
    std::uint64_t requestedSerial_ = 0;
    bool redrawPending_ = false;
    std::uint64_t shownSerial_ = 0;

    bool fitted_ = false;  // the whole LOD in view, as F shows it, and not turned since
    Drag drag_ = Drag::None;
    QPointF lastMouse_;
    QPoint cursor_{-1, -1};
    QString cursorName_;
};

}  // namespace orvane::ui

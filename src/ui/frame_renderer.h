#pragma once
// Draws the view's frames on a thread of its own, so that turning a large
// shape never holds up the window. It works on one request at a time and
// keeps at most one waiting: a newer request replaces a waiting one, and a
// finished frame replaces one the window has not taken yet, so a frame that
// is late is dropped, never queued.

#include <QObject>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "geometry/lod_geometry.h"
#include "picture/camera.h"
#include "picture/image.h"
#include "ui/view_shape.h"

namespace orvane::ui {

struct FrameRequest {
    std::shared_ptr<const ViewShape> shape;  // keeps the LOD alive while it is drawn
    const geometry::LodGeometry* lod = nullptr;
    picture::Camera camera;
    int width = 0, height = 0;
    std::optional<geometry::PlacedFinding> selected;
    std::uint64_t serial = 0;  // grows with each request
};

struct Frame {
    FrameRequest request;
    picture::Image image;
};

class FrameRenderer : public QObject {
    Q_OBJECT

public:
    explicit FrameRenderer(QObject* parent = nullptr);
    // Waits for the frame being drawn, if any.
    ~FrameRenderer() override;

    void request(FrameRequest request);
    // The newest finished frame, if one is waiting.
    std::optional<Frame> takeFrame();

signals:
    // A frame is waiting; sent once until it is taken.
    void frameReady();

private:
    void work();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<FrameRequest> waiting_;
    std::optional<Frame> finished_;
    bool signalled_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace orvane::ui

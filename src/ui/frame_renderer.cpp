#include "ui/frame_renderer.h"

#include "picture/shape_picture.h"

namespace orvane::ui {

FrameRenderer::FrameRenderer(QObject* parent) : QObject(parent), thread_([this] { work(); }) {}

FrameRenderer::~FrameRenderer() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void FrameRenderer::request(FrameRequest request) {
    {
        std::lock_guard lock(mutex_);
        waiting_ = std::move(request);
    }
    wake_.notify_all();
}

std::optional<Frame> FrameRenderer::takeFrame() {
    std::lock_guard lock(mutex_);
    signalled_ = false;
    return std::exchange(finished_, std::nullopt);
}

void FrameRenderer::work() {
    for (;;) {
        FrameRequest next;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || waiting_; });
            if (stopping_) return;
            next = std::move(*waiting_);
            waiting_.reset();
        }
        Frame frame;
        if (next.lod && next.width > 0 && next.height > 0) {
            picture::DrawOptions options;
            options.threads = picture::drawingThreads();
            options.selected = next.selected ? &*next.selected : nullptr;
            frame.image = picture::drawLod(*next.lod, next.camera, next.width, next.height, options);
        }
        frame.request = std::move(next);
        bool signal = false;
        {
            std::lock_guard lock(mutex_);
            finished_ = std::move(frame);
            signal = !signalled_;
            signalled_ = true;
        }
        if (signal) emit frameReady();
    }
}

}  // namespace orvane::ui

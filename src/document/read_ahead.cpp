#include "document/read_ahead.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace orvane {

ReadAhead::ReadAhead(ReadBytes make, std::uint64_t bytes, std::function<void()> end)
    : make_(std::move(make)), bytes_(bytes), end_(std::move(end)), thread_([this] { run(); }) {}

ReadAhead::~ReadAhead() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void ReadAhead::run() {
    try {
        for (std::uint64_t left = bytes_; left > 0;) {
            Piece* piece = nullptr;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [this] { return stop_ || made_ - taken_ < kPieces; });
                if (stop_) break;
                piece = &pieces_[made_ % kPieces];
            }
            // The reader is on other pieces meanwhile.
            const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(kPieceBytes, left));
            std::size_t size = 0;
            while (size < wanted) {
                const std::size_t got = make_(piece->bytes.get() + size, wanted - size);
                if (got == 0) break;
                size += got;
            }
            piece->size = size;
            {
                std::lock_guard lock(mutex_);
                ++made_;
            }
            changed_.notify_all();
            if (size < wanted) break;
            left -= size;
        }
        bool stopped = false;
        {
            std::lock_guard lock(mutex_);
            stopped = stop_;
        }
        if (!stopped) end_();
    } catch (...) {
        std::lock_guard lock(mutex_);
        failure_ = std::current_exception();
    }
    {
        std::lock_guard lock(mutex_);
        done_ = true;
    }
    changed_.notify_all();
}

bool ReadAhead::waitForPiece(std::unique_lock<std::mutex>& lock) {
    changed_.wait(lock, [this] { return taken_ < made_ || done_; });
    return taken_ < made_;
}

void ReadAhead::throwFailure() {
    if (failure_ && !thrown_) {
        thrown_ = true;
        std::rethrow_exception(failure_);
    }
}

std::size_t ReadAhead::read(unsigned char* to, std::size_t room) {
    if (room == 0) return 0;
    std::unique_lock lock(mutex_);
    for (;;) {
        if (!waitForPiece(lock)) {
            throwFailure();
            return 0;
        }
        const Piece& piece = pieces_[taken_ % kPieces];
        // The thread leaves this piece alone until it is taken.
        lock.unlock();
        const std::size_t n = std::min(room, piece.size - offset_);
        std::memcpy(to, piece.bytes.get() + offset_, n);
        offset_ += n;
        lock.lock();
        if (offset_ == piece.size) {
            offset_ = 0;
            ++taken_;
            changed_.notify_all();
        }
        if (n > 0) return n;
    }
}

void ReadAhead::finish() {
    std::unique_lock lock(mutex_);
    while (waitForPiece(lock)) {
        offset_ = 0;
        ++taken_;
        changed_.notify_all();
    }
    throwFailure();
}

}  // namespace orvane

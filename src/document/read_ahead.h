#pragma once
// Bytes made on a thread of their own, a few pieces ahead of their reader:
// while the reader works on one piece (decodes the tokens of a compressed
// shape), the next ones are being made (inflated) on another core. Memory
// stays at a few pieces whatever the size.

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "document/binary_shape_text.h"

namespace orvane {

class ReadAhead {
public:
    // Starts the thread: it takes `bytes` bytes from `make`, then calls
    // `end`. Neither is touched again by the caller while the thread runs.
    ReadAhead(ReadBytes make, std::uint64_t bytes, std::function<void()> end);
    // Stops the thread (after the piece it is making) and waits for it.
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // Up to `room` of the next bytes, waiting for them; 0 at the end. What
    // `make` or `end` threw is thrown here once the bytes made before it
    // have been read.
    std::size_t read(unsigned char* to, std::size_t room);
    // Drops the bytes not yet read and waits for `end`; throws what the
    // thread threw, unless read has thrown it already.
    void finish();

private:
    static constexpr int kPieces = 4;
    static constexpr std::size_t kPieceBytes = std::size_t{256} << 10;
    struct Piece {
        std::unique_ptr<unsigned char[]> bytes = std::make_unique_for_overwrite<unsigned char[]>(kPieceBytes);
        std::size_t size = 0;
    };

    void run();
    // Waits for a piece to read; false when none will come.
    bool waitForPiece(std::unique_lock<std::mutex>& lock);
    void throwFailure();

    ReadBytes make_;
    std::uint64_t bytes_;
    std::function<void()> end_;
    Piece pieces_[kPieces];
    std::mutex mutex_;
    std::condition_variable changed_;
    std::uint64_t made_ = 0;   // pieces made so far
    std::uint64_t taken_ = 0;  // pieces read to their end so far
    std::size_t offset_ = 0;   // read of the piece taken_ % kPieces
    bool done_ = false;
    bool stop_ = false;
    bool thrown_ = false;
    std::exception_ptr failure_;
    std::thread thread_;  // last: starts once the rest is set up
};

}  // namespace orvane

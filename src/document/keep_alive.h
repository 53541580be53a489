#pragma once
// Calls the root's keep-alive listener about every interval it asked for
// (50 ms unless set) during a long read or write. The clock is looked at only every 4096 ticks, so a tick costs a
// counter.

#include <chrono>
#include <cstdint>

#include "document/cls_reader.h"

namespace orvane {

class KeepAliveTicker {
public:
    explicit KeepAliveTicker(clsReader& root)
        : root_(root), interval_(root.rootState() ? root.rootState()->keepAliveInterval : std::chrono::milliseconds(50)),
          last_(Clock::now()) {}

    void tick() {
        if ((++ticks_ & 4095) != 0) return;
        const Clock::time_point now = Clock::now();
        if (now - last_ < interval_) return;
        last_ = now;
        root_.RaiseKeepAlive();
        last_ = Clock::now();
    }

private:
    using Clock = std::chrono::steady_clock;
    clsReader& root_;
    std::chrono::milliseconds interval_;
    Clock::time_point last_;
    std::uint32_t ticks_ = 0;
};

}  // namespace orvane

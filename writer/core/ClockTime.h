#pragma once
// The writer clock's private time: it starts at the multimedia-timer tick of its creation and
// moves on only when a sample arrives, by the ticks that passed since the last sample.
#include <cstdint>

namespace scrivet {

class ClockTime {
public:
    explicit ClockTime(uint32_t tick) : time_(static_cast<int64_t>(uint64_t{tick} * 10000)), lastTick_(tick) {}

    void Advance(uint32_t now)
    {
        // The tick wraps after 49.7 days; the signed difference stays right across the wrap.
        time_ += static_cast<int64_t>(static_cast<int32_t>(now - lastTick_)) * 10000;
        lastTick_ = now;
    }

    int64_t Time() const { return time_; }

private:
    int64_t time_;
    uint32_t lastTick_;
};

}  // namespace scrivet

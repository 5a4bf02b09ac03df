#pragma once
// A reference clock whose time moves only as samples arrive, so that a graph it drives runs
// at the pace of the stream being recorded.
#include "ClockTime.h"

#include <dshowbase/ReferenceClock.h>

#include <win/Lock.h>

namespace scrivet {

class WriterClock final : public dshow::ReferenceClock {
public:
    // Shares the filter's identity and reference count.
    explicit WriterClock(IUnknown* owner);
    ~WriterClock() override;

    // Called for every sample received.
    void Advance();

protected:
    REFERENCE_TIME GetPrivateTime() override;

private:
    win::CritSec timeLock_;
    ClockTime time_;
};

}  // namespace scrivet

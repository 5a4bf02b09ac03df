#pragma once
// IAMStreamControl for the elementary outputs of a type-2 card (PCM sound, video): a stop
// time in stream time after which the pin sends end of stream, so that a recording through
// the software multiplex ends on whole pictures and frames. Only an immediate start is known.
#include <win/Lock.h>

#include <strmif.h>

namespace vcap {

class StopAtControl : public IAMStreamControl {
public:
    STDMETHODIMP StartAt(const REFERENCE_TIME* start, DWORD cookie) override;
    STDMETHODIMP StopAt(const REFERENCE_TIME* stop, BOOL sendExtra, DWORD cookie) override;
    STDMETHODIMP GetInfo(AM_STREAM_INFO* info) override;

protected:
    // Whether a sample starting at `start` lies past the stop time (which is then used up:
    // the next run streams again).
    bool StopReached(REFERENCE_TIME start);

private:
    win::CritSec stopLock_;
    REFERENCE_TIME stopAt_ = MAXLONGLONG;
    DWORD cookie_ = 0;
};

}  // namespace vcap

#include "WriterClock.h"

#include <mmsystem.h>

namespace scrivet {

WriterClock::WriterClock(IUnknown* owner) : dshow::ReferenceClock(owner), time_(timeGetTime()) {}

WriterClock::~WriterClock()
{
    StopScheduler();
}

void WriterClock::Advance()
{
    {
        win::AutoLock hold(timeLock_);
        time_.Advance(timeGetTime());
    }
    // Waking the scheduler for every sample costs a thread switch; only due advises need it.
    if (PendingAdvises() > 0)
        TriggerThread();
}

REFERENCE_TIME WriterClock::GetPrivateTime()
{
    win::AutoLock hold(timeLock_);
    return time_.Time();
}

}  // namespace scrivet

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
        dshow::AutoLock hold(&clockLock_);
        time_.Advance(timeGetTime());
    }
    // Waking the scheduler for every sample costs a thread switch; only due advises need it.
    if (PendingAdvises() > 0)
        TriggerThread();
}

REFERENCE_TIME WriterClock::GetPrivateTime()
{
    dshow::AutoLock hold(&clockLock_);
    return time_.Time();
}

}  // namespace scrivet

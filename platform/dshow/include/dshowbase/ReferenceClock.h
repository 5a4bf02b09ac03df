#pragma once
// A reference clock with its advise scheduler. The time comes from GetPrivateTime, which a
// derived clock may override (a clock driven by arriving data, say); whatever it returns,
// GetTime never goes backwards: after a backward jump it holds the last time handed out
// until the private time passes it again.
#include <windows.h>
#include <strmif.h>

#include <vector>

#include <win/Handle.h>
#include <win/Lock.h>
#include "dshowbase/Unknown.h"

namespace dshow {

class ReferenceClock : public UnknownBase, public IReferenceClock {
public:
    explicit ReferenceClock(IUnknown* outer);
    ~ReferenceClock() override;

    DSHOW_DECLARE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;

    // IReferenceClock. GetTime answers S_FALSE when the time has not moved since the last call.
    STDMETHODIMP GetTime(REFERENCE_TIME* time) override;
    // Sets `event` once the clock reaches base + stream.
    STDMETHODIMP AdviseTime(REFERENCE_TIME base, REFERENCE_TIME stream, HEVENT event,
                            DWORD_PTR* cookie) override;
    // Releases `semaphore` once at `start` and then every `period`.
    STDMETHODIMP AdvisePeriodic(REFERENCE_TIME start, REFERENCE_TIME period, HSEMAPHORE semaphore,
                                DWORD_PTR* cookie) override;
    // S_OK when the advise was pending, S_FALSE when it was unknown (or a one-shot that fired).
    STDMETHODIMP Unadvise(DWORD_PTR cookie) override;

    // Pending advises, for diagnostics and tests.
    size_t PendingAdvises();

protected:
    // The clock's own time in 100 ns units; the default is the multimedia timer.
    virtual REFERENCE_TIME GetPrivateTime();
    // Derived clocks call this after moving their private time so due advises fire at once.
    void TriggerThread();
    // Stops the scheduler thread; a derived clock whose GetPrivateTime reads its own members
    // calls this first thing in its destructor.
    void StopScheduler();

    win::CritSec clockLock_;

private:
    struct Advise {
        DWORD_PTR cookie;
        REFERENCE_TIME due;
        REFERENCE_TIME period;  // 0 for one-shot
        HANDLE target;          // event (one-shot) or semaphore (periodic)
    };

    HRESULT AddAdvise(REFERENCE_TIME due, REFERENCE_TIME period, HANDLE target, DWORD_PTR* cookie);
    REFERENCE_TIME CurrentTimeLocked();
    static DWORD WINAPI ThreadMain(void* self);
    void Schedule();

    REFERENCE_TIME lastTime_ = 0;
    bool haveTime_ = false;
    std::vector<Advise> advises_;
    DWORD_PTR nextCookie_ = 1;
    win::Handle wake_;
    win::Handle thread_;
    volatile bool quit_ = false;
};

}  // namespace dshow

#include "dshowbase/ReferenceClock.h"

#include <mmsystem.h>

#include <algorithm>
#include <limits>

namespace dshow {

namespace {
// A private time that jumps is noticed within this long even when nobody triggers the thread.
constexpr DWORD kLongestSleepMs = 50;
}  // namespace

ReferenceClock::ReferenceClock(IUnknown* outer)
    : UnknownBase(outer), wake_(CreateEventW(nullptr, FALSE, FALSE, nullptr))
{
}

ReferenceClock::~ReferenceClock() { StopScheduler(); }

void ReferenceClock::StopScheduler()
{
    if (!thread_)
        return;
    quit_ = true;
    SetEvent(wake_.Get());
    WaitForSingleObject(thread_.Get(), INFINITE);
    thread_.Reset();
}

HRESULT STDMETHODCALLTYPE ReferenceClock::NonDelegatingQueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (iid == IID_IReferenceClock)
        return GetInterface(static_cast<IReferenceClock*>(this), out);
    return UnknownBase::NonDelegatingQueryInterface(iid, out);
}

REFERENCE_TIME ReferenceClock::GetPrivateTime()
{
    return static_cast<REFERENCE_TIME>(timeGetTime()) * 10000;
}

REFERENCE_TIME ReferenceClock::CurrentTimeLocked()
{
    const REFERENCE_TIME now = GetPrivateTime();
    if (!haveTime_ || now > lastTime_) {
        lastTime_ = now;
        haveTime_ = true;
    }
    return lastTime_;
}

STDMETHODIMP ReferenceClock::GetTime(REFERENCE_TIME* time)
{
    if (!time)
        return E_POINTER;
    win::AutoLock lock(clockLock_);
    const REFERENCE_TIME before = lastTime_;
    const bool first = !haveTime_;
    *time = CurrentTimeLocked();
    return first || *time != before ? S_OK : S_FALSE;
}

STDMETHODIMP ReferenceClock::AdviseTime(REFERENCE_TIME base, REFERENCE_TIME stream, HEVENT event,
                                        DWORD_PTR* cookie)
{
    if (!cookie)
        return E_POINTER;
    *cookie = 0;
    if (!event || base < 0 || stream < 0 || base > std::numeric_limits<REFERENCE_TIME>::max() - stream)
        return E_INVALIDARG;
    return AddAdvise(base + stream, 0, reinterpret_cast<HANDLE>(event), cookie);
}

STDMETHODIMP ReferenceClock::AdvisePeriodic(REFERENCE_TIME start, REFERENCE_TIME period,
                                            HSEMAPHORE semaphore, DWORD_PTR* cookie)
{
    if (!cookie)
        return E_POINTER;
    *cookie = 0;
    if (!semaphore || start < 0 || period <= 0)
        return E_INVALIDARG;
    return AddAdvise(start, period, reinterpret_cast<HANDLE>(semaphore), cookie);
}

HRESULT ReferenceClock::AddAdvise(REFERENCE_TIME due, REFERENCE_TIME period, HANDLE target,
                                  DWORD_PTR* cookie)
{
    win::AutoLock lock(clockLock_);
    if (!thread_) {
        if (!wake_)
            return E_OUTOFMEMORY;
        quit_ = false;
        thread_.Reset(CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr));
        if (!thread_)
            return HRESULT_FROM_WIN32(GetLastError());
    }
    *cookie = nextCookie_++;
    advises_.push_back(Advise{*cookie, due, period, target});
    SetEvent(wake_.Get());
    return S_OK;
}

STDMETHODIMP ReferenceClock::Unadvise(DWORD_PTR cookie)
{
    win::AutoLock lock(clockLock_);
    const auto found = std::find_if(advises_.begin(), advises_.end(),
                                    [cookie](const Advise& a) { return a.cookie == cookie; });
    if (found == advises_.end())
        return S_FALSE;
    advises_.erase(found);
    return S_OK;
}

size_t ReferenceClock::PendingAdvises()
{
    win::AutoLock lock(clockLock_);
    return advises_.size();
}

void ReferenceClock::TriggerThread()
{
    if (wake_)
        SetEvent(wake_.Get());
}

DWORD WINAPI ReferenceClock::ThreadMain(void* self)
{
    static_cast<ReferenceClock*>(self)->Schedule();
    return 0;
}

void ReferenceClock::Schedule()
{
    while (!quit_) {
        DWORD sleep = INFINITE;
        {
            win::AutoLock lock(clockLock_);
            const REFERENCE_TIME now = CurrentTimeLocked();
            for (size_t i = 0; i < advises_.size();) {
                Advise& advise = advises_[i];
                if (advise.due > now) {
                    ++i;
                    continue;
                }
                if (advise.period == 0) {
                    SetEvent(advise.target);
                    advises_.erase(advises_.begin() + static_cast<std::ptrdiff_t>(i));
                    continue;
                }
                ReleaseSemaphore(advise.target, 1, nullptr);
                // A periodic advise fires once per call even when the clock leapt several
                // periods: the next time is the first period boundary after now.
                const REFERENCE_TIME behind = (now - advise.due) / advise.period + 1;
                advise.due += behind * advise.period;
                ++i;
            }
            for (const Advise& advise : advises_) {
                const REFERENCE_TIME ms = (advise.due - now + 9999) / 10000;
                sleep = std::min<DWORD>(sleep, static_cast<DWORD>(std::min<REFERENCE_TIME>(ms, kLongestSleepMs)));
            }
        }
        WaitForSingleObject(wake_.Get(), sleep);
    }
}

}  // namespace dshow

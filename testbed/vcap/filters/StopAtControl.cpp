#include "StopAtControl.h"

#include <vfwmsgs.h>

namespace vcap {

STDMETHODIMP StopAtControl::StartAt(const REFERENCE_TIME* start, DWORD)
{
    if (start && *start != 0)
        return E_NOTIMPL;
    win::AutoLock lock(stopLock_);
    stopAt_ = MAXLONGLONG;
    return S_OK;
}

STDMETHODIMP StopAtControl::StopAt(const REFERENCE_TIME* stop, BOOL, DWORD cookie)
{
    win::AutoLock lock(stopLock_);
    stopAt_ = stop ? *stop : 0;  // null: stop now
    cookie_ = cookie;
    return S_OK;
}

STDMETHODIMP StopAtControl::GetInfo(AM_STREAM_INFO* info)
{
    if (!info)
        return E_POINTER;
    win::AutoLock lock(stopLock_);
    *info = AM_STREAM_INFO{};
    info->tStop = stopAt_;
    info->dwStopCookie = cookie_;
    info->dwFlags = stopAt_ != MAXLONGLONG ? AM_STREAM_INFO_STOP_DEFINED : 0;
    return S_OK;
}

bool StopAtControl::StopReached(REFERENCE_TIME start)
{
    win::AutoLock lock(stopLock_);
    if (start < stopAt_)
        return false;
    stopAt_ = MAXLONGLONG;
    return true;
}

}  // namespace vcap

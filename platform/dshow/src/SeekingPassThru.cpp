#include "dshowbase/SeekingPassThru.h"

#include <cmath>

#include <win/ComPtr.h>

namespace dshow {

namespace {

constexpr double kUnitsPerSecond = 10000000.0;
// Automation booleans, as IMediaPosition reports them.
constexpr LONG kTrue = -1;
constexpr LONG kFalse = 0;

LONGLONG ToUnits(REFTIME seconds) { return static_cast<LONGLONG>(std::llround(seconds * kUnitsPerSecond)); }
REFTIME ToSeconds(LONGLONG units) { return static_cast<REFTIME>(units) / kUnitsPerSecond; }

}  // namespace

SeekingPassThru::SeekingPassThru(IUnknown* owner, IPin* input) : UnknownBase(owner), input_(input) {}

HRESULT STDMETHODCALLTYPE SeekingPassThru::NonDelegatingQueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (iid == IID_IMediaSeeking)
        return GetInterface(static_cast<IMediaSeeking*>(this), out);
    if (iid == IID_IMediaPosition || iid == IID_IDispatch)
        return GetInterface(static_cast<IMediaPosition*>(this), out);
    return UnknownBase::NonDelegatingQueryInterface(iid, out);
}

HRESULT SeekingPassThru::UpstreamSeeking(IMediaSeeking** seeking)
{
    *seeking = nullptr;
    win::ComPtr<IPin> upstream;
    if (FAILED(input_->ConnectedTo(upstream.Put())) || !upstream)
        return VFW_E_NOT_CONNECTED;
    return SUCCEEDED(upstream->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(seeking)))
               ? S_OK
               : E_NOTIMPL;
}

HRESULT SeekingPassThru::UpstreamPosition(IMediaPosition** position)
{
    *position = nullptr;
    win::ComPtr<IPin> upstream;
    if (FAILED(input_->ConnectedTo(upstream.Put())) || !upstream)
        return VFW_E_NOT_CONNECTED;
    return SUCCEEDED(upstream->QueryInterface(IID_IMediaPosition, reinterpret_cast<void**>(position)))
               ? S_OK
               : E_NOTIMPL;
}

// Each IMediaSeeking method is the same call on the upstream pin's interface.
#define DSHOW_PASS_SEEKING(call)                          \
    do {                                                  \
        win::ComPtr<IMediaSeeking> seeking;                    \
        const HRESULT hr = UpstreamSeeking(seeking.Put()); \
        if (FAILED(hr))                                   \
            return hr;                                    \
        return seeking->call;                             \
    } while (0)

STDMETHODIMP SeekingPassThru::GetCapabilities(DWORD* c) { DSHOW_PASS_SEEKING(GetCapabilities(c)); }
STDMETHODIMP SeekingPassThru::CheckCapabilities(DWORD* c) { DSHOW_PASS_SEEKING(CheckCapabilities(c)); }
STDMETHODIMP SeekingPassThru::IsFormatSupported(const GUID* f) { DSHOW_PASS_SEEKING(IsFormatSupported(f)); }
STDMETHODIMP SeekingPassThru::QueryPreferredFormat(GUID* f) { DSHOW_PASS_SEEKING(QueryPreferredFormat(f)); }
STDMETHODIMP SeekingPassThru::GetTimeFormat(GUID* f) { DSHOW_PASS_SEEKING(GetTimeFormat(f)); }
STDMETHODIMP SeekingPassThru::IsUsingTimeFormat(const GUID* f) { DSHOW_PASS_SEEKING(IsUsingTimeFormat(f)); }
STDMETHODIMP SeekingPassThru::SetTimeFormat(const GUID* f) { DSHOW_PASS_SEEKING(SetTimeFormat(f)); }
STDMETHODIMP SeekingPassThru::GetDuration(LONGLONG* d) { DSHOW_PASS_SEEKING(GetDuration(d)); }
STDMETHODIMP SeekingPassThru::GetStopPosition(LONGLONG* s) { DSHOW_PASS_SEEKING(GetStopPosition(s)); }
STDMETHODIMP SeekingPassThru::GetCurrentPosition(LONGLONG* c) { DSHOW_PASS_SEEKING(GetCurrentPosition(c)); }
STDMETHODIMP SeekingPassThru::ConvertTimeFormat(LONGLONG* target, const GUID* target_format,
                                                LONGLONG source, const GUID* source_format)
{
    DSHOW_PASS_SEEKING(ConvertTimeFormat(target, target_format, source, source_format));
}
STDMETHODIMP SeekingPassThru::SetPositions(LONGLONG* current, DWORD current_flags, LONGLONG* stop,
                                           DWORD stop_flags)
{
    DSHOW_PASS_SEEKING(SetPositions(current, current_flags, stop, stop_flags));
}
STDMETHODIMP SeekingPassThru::GetPositions(LONGLONG* c, LONGLONG* s) { DSHOW_PASS_SEEKING(GetPositions(c, s)); }
STDMETHODIMP SeekingPassThru::GetAvailable(LONGLONG* e, LONGLONG* l) { DSHOW_PASS_SEEKING(GetAvailable(e, l)); }
STDMETHODIMP SeekingPassThru::SetRate(double r) { DSHOW_PASS_SEEKING(SetRate(r)); }
STDMETHODIMP SeekingPassThru::GetRate(double* r) { DSHOW_PASS_SEEKING(GetRate(r)); }
STDMETHODIMP SeekingPassThru::GetPreroll(LONGLONG* p) { DSHOW_PASS_SEEKING(GetPreroll(p)); }

#undef DSHOW_PASS_SEEKING

STDMETHODIMP SeekingPassThru::GetTypeInfoCount(UINT* count)
{
    if (!count)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

STDMETHODIMP SeekingPassThru::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info)
        *info = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP SeekingPassThru::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

STDMETHODIMP SeekingPassThru::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
{
    return E_NOTIMPL;
}

// Each IMediaPosition method: the upstream IMediaPosition if present, else `fallback` on the
// upstream IMediaSeeking (named `seeking`).
#define DSHOW_PASS_POSITION(call, fallback)                      \
    do {                                                         \
        win::ComPtr<IMediaPosition> position;                         \
        HRESULT hr = UpstreamPosition(position.Put());           \
        if (SUCCEEDED(hr))                                       \
            return position->call;                               \
        if (hr == VFW_E_NOT_CONNECTED)                           \
            return hr;                                           \
        win::ComPtr<IMediaSeeking> seeking;                           \
        hr = UpstreamSeeking(seeking.Put());                     \
        if (FAILED(hr))                                          \
            return hr;                                           \
        fallback;                                                \
    } while (0)

STDMETHODIMP SeekingPassThru::get_Duration(REFTIME* length)
{
    if (!length)
        return E_POINTER;
    DSHOW_PASS_POSITION(get_Duration(length), {
        LONGLONG units = 0;
        hr = seeking->GetDuration(&units);
        if (SUCCEEDED(hr))
            *length = ToSeconds(units);
        return hr;
    });
}

STDMETHODIMP SeekingPassThru::put_CurrentPosition(REFTIME time)
{
    DSHOW_PASS_POSITION(put_CurrentPosition(time), {
        LONGLONG units = ToUnits(time);
        return seeking->SetPositions(&units, AM_SEEKING_AbsolutePositioning, nullptr,
                                     AM_SEEKING_NoPositioning);
    });
}

STDMETHODIMP SeekingPassThru::get_CurrentPosition(REFTIME* time)
{
    if (!time)
        return E_POINTER;
    DSHOW_PASS_POSITION(get_CurrentPosition(time), {
        LONGLONG units = 0;
        hr = seeking->GetCurrentPosition(&units);
        if (SUCCEEDED(hr))
            *time = ToSeconds(units);
        return hr;
    });
}

STDMETHODIMP SeekingPassThru::get_StopTime(REFTIME* time)
{
    if (!time)
        return E_POINTER;
    DSHOW_PASS_POSITION(get_StopTime(time), {
        LONGLONG units = 0;
        hr = seeking->GetStopPosition(&units);
        if (SUCCEEDED(hr))
            *time = ToSeconds(units);
        return hr;
    });
}

STDMETHODIMP SeekingPassThru::put_StopTime(REFTIME time)
{
    DSHOW_PASS_POSITION(put_StopTime(time), {
        LONGLONG units = ToUnits(time);
        return seeking->SetPositions(nullptr, AM_SEEKING_NoPositioning, &units,
                                     AM_SEEKING_AbsolutePositioning);
    });
}

STDMETHODIMP SeekingPassThru::get_PrerollTime(REFTIME* time)
{
    if (!time)
        return E_POINTER;
    DSHOW_PASS_POSITION(get_PrerollTime(time), {
        LONGLONG units = 0;
        hr = seeking->GetPreroll(&units);
        if (SUCCEEDED(hr))
            *time = ToSeconds(units);
        return hr;
    });
}

STDMETHODIMP SeekingPassThru::put_PrerollTime(REFTIME time)
{
    DSHOW_PASS_POSITION(put_PrerollTime(time), { return E_NOTIMPL; });
}

STDMETHODIMP SeekingPassThru::put_Rate(double rate)
{
    DSHOW_PASS_POSITION(put_Rate(rate), { return seeking->SetRate(rate); });
}

STDMETHODIMP SeekingPassThru::get_Rate(double* rate)
{
    if (!rate)
        return E_POINTER;
    DSHOW_PASS_POSITION(get_Rate(rate), { return seeking->GetRate(rate); });
}

STDMETHODIMP SeekingPassThru::CanSeekForward(LONG* can)
{
    if (!can)
        return E_POINTER;
    DSHOW_PASS_POSITION(CanSeekForward(can), {
        DWORD caps = AM_SEEKING_CanSeekForwards;
        hr = seeking->CheckCapabilities(&caps);
        *can = hr == S_OK ? kTrue : kFalse;
        return S_OK;
    });
}

STDMETHODIMP SeekingPassThru::CanSeekBackward(LONG* can)
{
    if (!can)
        return E_POINTER;
    DSHOW_PASS_POSITION(CanSeekBackward(can), {
        DWORD caps = AM_SEEKING_CanSeekBackwards;
        hr = seeking->CheckCapabilities(&caps);
        *can = hr == S_OK ? kTrue : kFalse;
        return S_OK;
    });
}

#undef DSHOW_PASS_POSITION

}  // namespace dshow

#pragma once
// Answers IMediaSeeking and IMediaPosition for a filter (or output pin) by passing every call
// to the pin connected to one of its input pins. A filter creates it on the first request
// for either interface; it shares the filter's identity and reference count.
#include <windows.h>
#include <strmif.h>
#include <control.h>

#include "dshowbase/Unknown.h"

namespace dshow {

class SeekingPassThru final : public UnknownBase, public IMediaSeeking, public IMediaPosition {
public:
    // `input` is the filter's own input pin; the calls go to whatever it is connected to.
    SeekingPassThru(IUnknown* owner, IPin* input);

    DSHOW_DECLARE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;

    // IMediaSeeking
    STDMETHODIMP GetCapabilities(DWORD* capabilities) override;
    STDMETHODIMP CheckCapabilities(DWORD* capabilities) override;
    STDMETHODIMP IsFormatSupported(const GUID* format) override;
    STDMETHODIMP QueryPreferredFormat(GUID* format) override;
    STDMETHODIMP GetTimeFormat(GUID* format) override;
    STDMETHODIMP IsUsingTimeFormat(const GUID* format) override;
    STDMETHODIMP SetTimeFormat(const GUID* format) override;
    STDMETHODIMP GetDuration(LONGLONG* duration) override;
    STDMETHODIMP GetStopPosition(LONGLONG* stop) override;
    STDMETHODIMP GetCurrentPosition(LONGLONG* current) override;
    STDMETHODIMP ConvertTimeFormat(LONGLONG* target, const GUID* target_format, LONGLONG source,
                                   const GUID* source_format) override;
    STDMETHODIMP SetPositions(LONGLONG* current, DWORD current_flags, LONGLONG* stop,
                              DWORD stop_flags) override;
    STDMETHODIMP GetPositions(LONGLONG* current, LONGLONG* stop) override;
    STDMETHODIMP GetAvailable(LONGLONG* earliest, LONGLONG* latest) override;
    STDMETHODIMP SetRate(double rate) override;
    STDMETHODIMP GetRate(double* rate) override;
    STDMETHODIMP GetPreroll(LONGLONG* preroll) override;

    // IDispatch: no type information is offered; scripting clients are not supported.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                        VARIANT* result, EXCEPINFO* exception, UINT* arg_error) override;

    // IMediaPosition: the upstream IMediaPosition when it has one, else its IMediaSeeking in
    // seconds.
    STDMETHODIMP get_Duration(REFTIME* length) override;
    STDMETHODIMP put_CurrentPosition(REFTIME time) override;
    STDMETHODIMP get_CurrentPosition(REFTIME* time) override;
    STDMETHODIMP get_StopTime(REFTIME* time) override;
    STDMETHODIMP put_StopTime(REFTIME time) override;
    STDMETHODIMP get_PrerollTime(REFTIME* time) override;
    STDMETHODIMP put_PrerollTime(REFTIME time) override;
    STDMETHODIMP put_Rate(double rate) override;
    STDMETHODIMP get_Rate(double* rate) override;
    STDMETHODIMP CanSeekForward(LONG* can) override;
    STDMETHODIMP CanSeekBackward(LONG* can) override;

private:
    // The upstream interface with a reference the caller releases; VFW_E_NOT_CONNECTED or
    // E_NOTIMPL when there is none.
    HRESULT UpstreamSeeking(IMediaSeeking** seeking);
    HRESULT UpstreamPosition(IMediaPosition** position);

    IPin* input_;
};

}  // namespace dshow

#pragma once
// Pass-through stand-ins: the flow-control filter (passes or drops samples by its mode), the
// overlay mixer (video towards the renderer, accepting the full-screen overlay request) and
// the audio type changer (audio unchanged).
#include <dshowbase/TransformFilter.h>

#include <amvideo.h>

#include "FilterIds.h"

namespace testbed {

// Accepts every media type of `major` (any major type when GUID_NULL) and passes it on.
class PassThroughFilter : public dshow::InPlaceTransformFilter {
public:
    PassThroughFilter(IUnknown* outer, const CLSID& clsid, const GUID& major);
    HRESULT CheckInputType(const dshow::MediaType& input) override;
    HRESULT Transform(IMediaSample* sample) override;

private:
    GUID major_;
};

class FlowControlFilter : public PassThroughFilter, public IFlowControl {
public:
    static dshow::INonDelegatingUnknown* Create(IUnknown* outer, HRESULT* hr);

    DSHOW_DECLARE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;
    HRESULT Transform(IMediaSample* sample) override;

    // IFlowControl
    STDMETHODIMP Flush() override;
    STDMETHODIMP SetMode(BYTE pass) override;
    STDMETHODIMP GetMode(BYTE* pass) override;

    LONG Passed() const { return passed_; }

private:
    explicit FlowControlFilter(IUnknown* outer);
    volatile LONG pass_ = 1;
    volatile LONG passed_ = 0;
};

class OverlayMixerFilter : public PassThroughFilter, public IDirectDrawVideo {
public:
    static dshow::INonDelegatingUnknown* Create(IUnknown* outer, HRESULT* hr);

    DSHOW_DECLARE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;

    // IDirectDrawVideo: there is no DirectDraw surface here; only the full-screen choice is kept.
    STDMETHODIMP GetSwitches(DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP SetSwitches(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetCaps(DDCAPS*) override { return E_NOTIMPL; }
    STDMETHODIMP GetEmulatedCaps(DDCAPS*) override { return E_NOTIMPL; }
    STDMETHODIMP GetSurfaceDesc(DDSURFACEDESC*) override { return E_NOTIMPL; }
    STDMETHODIMP GetFourCCCodes(DWORD*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP SetDirectDraw(LPDIRECTDRAW) override { return E_NOTIMPL; }
    STDMETHODIMP GetDirectDraw(LPDIRECTDRAW*) override { return E_NOTIMPL; }
    STDMETHODIMP GetSurfaceType(DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP SetDefault() override { return S_OK; }
    STDMETHODIMP UseScanLine(LONG) override { return S_OK; }
    STDMETHODIMP CanUseScanLine(LONG* use) override { return Answer(use, 0); }
    STDMETHODIMP UseOverlayStretch(LONG) override { return S_OK; }
    STDMETHODIMP CanUseOverlayStretch(LONG* use) override { return Answer(use, 0); }
    STDMETHODIMP UseWhenFullScreen(LONG use) override;
    STDMETHODIMP WillUseFullScreen(LONG* use) override { return Answer(use, fullScreen_); }

private:
    explicit OverlayMixerFilter(IUnknown* outer);
    static HRESULT Answer(LONG* out, LONG value);
    LONG fullScreen_ = 0;
};

dshow::INonDelegatingUnknown* CreateAudioTypeChanger(IUnknown* outer, HRESULT* hr);

}  // namespace testbed

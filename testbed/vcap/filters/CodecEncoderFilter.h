#pragma once
// The stream filter of a codec-API card (type 4): the card's picture and sound in on two
// wired inputs, the multiplexed MPEG-2 program stream out, configured through ICodecAPI and,
// for callers that speak kernel streaming, through IKsPropertySet with the same identifiers
// as property sets (property 0, four bytes). Mode, bit rate and peak live in the card's
// encoder state, so the stream follows them from the next run.
//
// It is listed among the media encoders, where the device search finds it by connecting the
// card's capture filter to it; bound that way it knows its card from its "DevicePath". Made
// by class identifier instead, it learns the card from the wire its video input is connected
// to.
#include "CardFilter.h"

#include <strmif.h>

namespace vcap {

extern const GUID kCodecApiBitRateMode;
extern const GUID kCodecApiBitRate;
extern const GUID kCodecApiPeakBitRate;

class CodecEncoderFilter : public CardFilter, public ICodecAPI {
public:
    static dshow::INonDelegatingUnknown* Create(IUnknown* outer, HRESULT* hr);
    explicit CodecEncoderFilter(IUnknown* outer);

    DSHOW_DECLARE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;

    // IKsPropertySet: the codec-API identifiers; everything else as the card answers it.
    STDMETHODIMP Set(REFGUID set, DWORD id, void* instance, DWORD instanceSize, void* data, DWORD size) override;
    STDMETHODIMP Get(REFGUID set, DWORD id, void* instance, DWORD instanceSize, void* data, DWORD size,
                     DWORD* returned) override;
    STDMETHODIMP QuerySupported(REFGUID set, DWORD id, DWORD* support) override;

    // ICodecAPI
    STDMETHODIMP IsSupported(const GUID* api) override;
    STDMETHODIMP IsModifiable(const GUID* api) override;
    STDMETHODIMP GetParameterRange(const GUID* api, VARIANT* min, VARIANT* max, VARIANT* step) override;
    STDMETHODIMP GetParameterValues(const GUID* api, VARIANT** values, ULONG* count) override;
    STDMETHODIMP GetDefaultValue(const GUID* api, VARIANT* value) override;
    STDMETHODIMP GetValue(const GUID* api, VARIANT* value) override;
    STDMETHODIMP SetValue(const GUID* api, VARIANT* value) override;
    STDMETHODIMP RegisterForEvent(const GUID*, LONG_PTR) override { return E_NOTIMPL; }
    STDMETHODIMP UnregisterForEvent(const GUID*) override { return E_NOTIMPL; }
    STDMETHODIMP SetAllDefaults() override;
    STDMETHODIMP SetValueWithNotify(const GUID* api, VARIANT* value, GUID** changed, ULONG* count) override;
    STDMETHODIMP SetAllDefaultsWithNotify(GUID**, ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP GetAllSettings(IStream*) override { return E_NOTIMPL; }
    STDMETHODIMP SetAllSettings(IStream*) override { return E_NOTIMPL; }
    STDMETHODIMP SetAllSettingsWithNotify(IStream*, GUID**, ULONG*) override { return E_NOTIMPL; }

    STDMETHODIMP GetState(DWORD timeout, FILTER_STATE* state) override;

    // Called by an input pin being connected: the card the peer's wire belongs to. Fails when
    // the wire is not a card's, or another card's than the one already known.
    HRESULT LearnCardFrom(IPin* peer, Wire wire);

protected:
    void OnCardKnown() override;

private:
    HRESULT ReadValue(const GUID& api, uint32_t& value);
    // Applies a value; `applied` is what the encoder took (the peak may be adjusted).
    HRESULT WriteValue(const GUID& api, uint32_t value, uint32_t& applied);

    class InputPin;
    InputPin* videoIn_ = nullptr;
    InputPin* audioIn_ = nullptr;
};

}  // namespace vcap

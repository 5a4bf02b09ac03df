#pragma once
// What every filter of a virtual card shares: it learns its card from the property bag the
// device enumerator hands it on bind ("DevicePath"), and answers the card's property sets.
#include "AnalogPin.h"
#include "CardControl.h"
#include "DeviceModel.h"
#include "DecoderModel.h"
#include "KsPropertySets.h"

#include "dshowbase/PushSource.h"

#include <ocidl.h>
#include <dshow.h>

#include <memory>
#include <string>
#include <vector>

namespace vcap {

class CardFilter : public dshow::SourceFilter, public IPersistPropertyBag, public IKsPropertySet, public IKsControl {
public:
    CardFilter(IUnknown* outer, const CLSID& clsid, FilterRole role);

    DSHOW_DECLARE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;

    // IPersist (shared by IBaseFilter and IPersistPropertyBag)
    STDMETHODIMP GetClassID(CLSID* clsid) override { return SourceFilter::GetClassID(clsid); }
    // IPersistPropertyBag
    STDMETHODIMP InitNew() override { return S_OK; }
    STDMETHODIMP Load(IPropertyBag* bag, IErrorLog* log) override;
    STDMETHODIMP Save(IPropertyBag*, BOOL, BOOL) override { return E_NOTIMPL; }
    // IKsPropertySet
    STDMETHODIMP Set(REFGUID set, DWORD id, void* instance, DWORD instanceSize, void* data, DWORD size) override;
    STDMETHODIMP Get(REFGUID set, DWORD id, void* instance, DWORD instanceSize, void* data, DWORD size,
                     DWORD* returned) override;
    STDMETHODIMP QuerySupported(REFGUID set, DWORD id, DWORD* support) override;
    // IKsControl: the pin property set's necessary instances, as ConnectByMedium asks.
    STDMETHODIMP KsProperty(PKSPROPERTY property, ULONG propertySize, LPVOID data, ULONG dataSize, ULONG* returned) override;
    STDMETHODIMP KsMethod(PKSMETHOD, ULONG, LPVOID, ULONG, ULONG*) override;
    STDMETHODIMP KsEvent(PKSEVENT, ULONG, LPVOID, ULONG, ULONG*) override;

    // The capture, encoder and multiplexer filters are live sources: paused, they hold no
    // data and answer VFW_S_CANT_CUE, as a capture driver does, so a graph runs without
    // waiting for its renderers to receive a first sample.
    STDMETHODIMP GetState(DWORD timeout, FILTER_STATE* state) override;

    // Stream outputs first, then the analog pins (whose pin factory ids count from 0).
    int GetPinCount() override;
    dshow::BasePin* GetPin(int index) override;

    bool HasCard() const { return properties_ != nullptr; }
    const CardRecord& Card() const { return card_; }

protected:
    // Called once the card is known, under the filter lock: add the card's pins.
    virtual void OnCardKnown() {}
    AnalogPin* AddAnalogPin(const wchar_t* name, PIN_DIRECTION direction, const GUID& majorType, Wire wire);
    void AddAnalogPin(std::unique_ptr<AnalogPin> pin);
    ULONG NextPinFactoryId() const { return static_cast<ULONG>(analogPins_.size()); }

    FilterRole role_;
    CardRecord card_;
    int cardNumber_ = 0;
    std::wstring friendlyName_;
    std::unique_ptr<CardProperties> properties_;
    std::vector<std::unique_ptr<AnalogPin>> analogPins_;
};

// The capture filter: the card's property sets, and for a card without a stream filter
// (type 3) the multiplexed stream output itself.
// It also watches the card's control channel and signals the registered device events when
// copy protection comes or goes, when frames are dropped, and when the card's stream stops
// flowing (end of stream, refused delivery, or the card removed).
class CaptureFilter : public CardFilter, public IAMAnalogVideoDecoder, public IAMVideoProcAmp {
public:
    static dshow::INonDelegatingUnknown* Create(IUnknown* outer, HRESULT* hr);
    explicit CaptureFilter(IUnknown* outer);
    ~CaptureFilter() override;

    DSHOW_DECLARE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;

    // IAMAnalogVideoDecoder
    STDMETHODIMP get_AvailableTVFormats(long* formats) override;
    STDMETHODIMP put_TVFormat(long format) override;
    STDMETHODIMP get_TVFormat(long* format) override;
    STDMETHODIMP get_HorizontalLocked(long* locked) override;
    STDMETHODIMP put_VCRHorizontalLocking(long vcr) override;
    STDMETHODIMP get_VCRHorizontalLocking(long* vcr) override;
    STDMETHODIMP get_NumberOfLines(long* lines) override;
    STDMETHODIMP put_OutputEnable(long enable) override;
    STDMETHODIMP get_OutputEnable(long* enable) override;
    // IAMVideoProcAmp
    STDMETHODIMP GetRange(long property, long* min, long* max, long* step, long* def, long* caps) override;
    STDMETHODIMP Set(long property, long value, long flags) override;
    STDMETHODIMP Get(long property, long* value, long* flags) override;
    using CardFilter::Get;
    using CardFilter::Set;

protected:
    void OnCardKnown() override;

private:
    static constexpr DWORD kWatchPollMs = 200;
    static DWORD WINAPI WatchMain(void* self);
    void Watch();
    // What the decoder sees now: the signal and standard of the input the crossbar routes to
    // it (none when nothing is routed). A new route makes the decoder search again.
    InputState RoutedInput(uint32_t nowMs);
    // The standards the card's board offers now, handed to the decoder.
    long BoardStandards();

    HANDLE quit_ = nullptr;
    HANDLE control_ = nullptr;
    HANDLE watcher_ = nullptr;
    CardControlState boundControl_;

    DecoderModel decoder_;
    long seenInput_ = -2;  // the routed input the decoder last looked at
    long vcrLocking_ = 0;
    long outputEnable_ = OATRUE;
};

// The encoder (stream) filter: delivers the multiplexed program stream.
class EncoderFilter : public CardFilter {
public:
    static dshow::INonDelegatingUnknown* Create(IUnknown* outer, HRESULT* hr);
    explicit EncoderFilter(IUnknown* outer);

protected:
    void OnCardKnown() override;
};

}  // namespace vcap

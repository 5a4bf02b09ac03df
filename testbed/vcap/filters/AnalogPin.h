#pragma once
// A pin of the card's analog front end (crossbar, tuner, TV audio, the capture chip's analog
// inputs). No samples flow: the pins stand for wires on the board, and the driver names each
// wire by a medium so that software connects only the pins that are wired together.
#include "KsPinInterfaces.h"

#include "dshowbase/BasePin.h"

namespace vcap {

// The wires of a card. A medium's set identifier is unique per card, so two cards in one
// graph never connect to each other's pins.
enum class Wire { CrossbarVideo, CrossbarAudio, TunerVideo, TunerAudio, TvAudioOut, EncoderVideo, EncoderAudio, Connector };
KSPIN_MEDIUM WireMedium(Wire wire, int card);

class AnalogPin : public dshow::BasePin, public IKsPin, public IKsPinFactory {
public:
    AnalogPin(dshow::BaseFilter* filter, win::CritSec* lock, const wchar_t* name, PIN_DIRECTION direction,
              const GUID& majorType, const KSPIN_MEDIUM& medium, ULONG factoryId);

    // The pin answers for its own interfaces and counts on its filter.
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override { return NonDelegatingQueryInterface(iid, out); }
    STDMETHODIMP_(ULONG) AddRef() override { return Owner()->AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return Owner()->Release(); }
    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;

    HRESULT CheckMediaType(const dshow::MediaType& type) override;
    HRESULT GetMediaType(int position, dshow::MediaType* type) override;
    STDMETHODIMP BeginFlush() override { return S_OK; }
    STDMETHODIMP EndFlush() override { return S_OK; }

    // IKsPinFactory
    STDMETHODIMP KsPinFactory(ULONG* id) override;
    // IKsPin: the mediums are real; nothing streams through an analog pin.
    STDMETHODIMP KsQueryMediums(PKSMULTIPLE_ITEM* list) override;
    STDMETHODIMP KsQueryInterfaces(PKSMULTIPLE_ITEM* list) override;
    STDMETHODIMP KsCreateSinkPinHandle(KSPIN_INTERFACE&, KSPIN_MEDIUM&) override { return E_NOTIMPL; }
    STDMETHODIMP KsGetCurrentCommunication(KSPIN_COMMUNICATION* c, KSPIN_INTERFACE* i, KSPIN_MEDIUM* m) override;
    STDMETHODIMP KsPropagateAcquire() override { return S_OK; }
    STDMETHODIMP KsDeliver(IMediaSample*, ULONG) override { return E_NOTIMPL; }
    STDMETHODIMP KsMediaSamplesCompleted(PKSSTREAM_SEGMENT) override { return E_NOTIMPL; }
    STDMETHODIMP_(IMemAllocator*) KsPeekAllocator(KSPEEKOPERATION) override { return nullptr; }
    STDMETHODIMP KsReceiveAllocator(IMemAllocator*) override { return E_NOTIMPL; }
    STDMETHODIMP KsRenegotiateAllocator() override { return E_NOTIMPL; }
    STDMETHODIMP_(LONG) KsIncrementPendingIoCount() override { return 0; }
    STDMETHODIMP_(LONG) KsDecrementPendingIoCount() override { return 0; }
    STDMETHODIMP KsQualityNotify(ULONG, REFERENCE_TIME) override { return S_OK; }

    const GUID& MajorType() const { return major_; }
    const KSPIN_MEDIUM& Medium() const { return medium_; }
    // For a filter that learns its card after its pins exist.
    void SetMedium(const KSPIN_MEDIUM& medium) { medium_ = medium; }

private:
    GUID major_;
    KSPIN_MEDIUM medium_;
    ULONG factoryId_;
};

}  // namespace vcap

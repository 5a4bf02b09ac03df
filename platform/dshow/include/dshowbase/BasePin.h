#pragma once
// The pin part shared by input and output pins: the connection protocol with media type
// negotiation, and quality-control plumbing.
#include <windows.h>
#include <strmif.h>

#include <string>

#include <win/Lock.h>
#include "dshowbase/MediaType.h"
#include "dshowbase/Unknown.h"

namespace dshow {

class BaseFilter;

class BasePin : public UnknownBase, public IPin, public IQualityControl {
public:
    // The pin answers QueryInterface itself, but its references count on the filter, which
    // owns it and deletes it. `lock` is the filter lock.
    BasePin(BaseFilter* filter, win::CritSec* lock, const wchar_t* name, PIN_DIRECTION direction);
    ~BasePin() override;

    DSHOW_DECLARE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE NonDelegatingAddRef() override;
    ULONG STDMETHODCALLTYPE NonDelegatingRelease() override;

    // IPin
    STDMETHODIMP Connect(IPin* receive_pin, const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP Disconnect() override;
    STDMETHODIMP ConnectedTo(IPin** pin) override;
    STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE* type) override;
    STDMETHODIMP QueryPinInfo(PIN_INFO* info) override;
    STDMETHODIMP QueryDirection(PIN_DIRECTION* direction) override;
    STDMETHODIMP QueryId(LPWSTR* id) override;
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** types) override;
    STDMETHODIMP QueryInternalConnections(IPin** pins, ULONG* count) override;
    STDMETHODIMP EndOfStream() override;
    STDMETHODIMP BeginFlush() override = 0;
    STDMETHODIMP EndFlush() override = 0;
    STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

    // IQualityControl: with a sink set, messages go there; otherwise PassNotify decides.
    STDMETHODIMP Notify(IBaseFilter* sender, Quality quality) override;
    STDMETHODIMP SetSink(IQualityControl* sink) override;

    // Negotiation hooks.
    virtual HRESULT CheckMediaType(const MediaType& type) = 0;
    // The pin's preferred types, from position 0; VFW_S_NO_MORE_ITEMS past the last.
    virtual HRESULT GetMediaType(int position, MediaType* type);
    virtual HRESULT SetMediaType(const MediaType& type);
    virtual HRESULT CheckConnect(IPin* pin);
    virtual HRESULT CompleteConnect(IPin* receive_pin);
    virtual HRESULT BreakConnect();

    // State hooks called by the filter for connected pins, under the filter lock.
    virtual HRESULT Active();
    virtual HRESULT Inactive();
    virtual HRESULT Run(REFERENCE_TIME start);

    bool IsConnected() const { return connected_ != nullptr; }
    IPin* ConnectedPin() const { return connected_; }
    const MediaType& CurrentMediaType() const { return type_; }
    const std::wstring& Name() const { return name_; }
    PIN_DIRECTION Direction() const { return direction_; }
    BaseFilter* Filter() const { return filter_; }
    bool IsStopped() const;

    REFERENCE_TIME SegmentStart() const { return segmentStart_; }
    REFERENCE_TIME SegmentStop() const { return segmentStop_; }
    double SegmentRate() const { return segmentRate_; }

    // Connects without holding the lock for the peer's call; used by Connect.
    HRESULT AttemptConnection(IPin* receive_pin, const MediaType& type);

protected:
    // What a quality message does without a sink: the default has nowhere to send it.
    virtual HRESULT PassNotify(Quality quality);

    win::CritSec* lock_;
    BaseFilter* filter_;
    IPin* connected_ = nullptr;  // counted
    MediaType type_;
    IQualityControl* qualitySink_ = nullptr;  // not counted, as the sink owns the chain
    REFERENCE_TIME segmentStart_ = 0;
    REFERENCE_TIME segmentStop_ = 0x7FFFFFFFFFFFFFFF;
    double segmentRate_ = 1.0;

private:
    HRESULT AgreeMediaType(IPin* receive_pin, const MediaType* partial);
    HRESULT TryTypes(IPin* receive_pin, const MediaType* partial, IEnumMediaTypes* types);
    void DropConnection();

    std::wstring name_;
    PIN_DIRECTION direction_;
};

}  // namespace dshow

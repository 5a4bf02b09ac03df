#pragma once
// Pins of the demultiplexer: the stream input, output pins made through
// IMpeg2Demultiplexer with their stream-id maps (IMPEG2StreamIdMap), and the pass-through
// stream output of the vendor demultiplexer.
#include <dshowbase/Pins.h>

#include <vector>

#include "OutputQueue.h"
#include "ProgramStreamParser.h"

namespace testbed {

class DemuxFilter;

class DemuxInputPin : public dshow::InputPin {
public:
    DemuxInputPin(DemuxFilter* filter, win::CritSec* lock);
    HRESULT CheckMediaType(const dshow::MediaType& type) override;
    STDMETHODIMP Receive(IMediaSample* sample) override;
    STDMETHODIMP EndOfStream() override;
    STDMETHODIMP BeginFlush() override;
    STDMETHODIMP EndFlush() override;

private:
    DemuxFilter* demux_;
};

class DemuxOutputPin : public dshow::OutputPin, public IMPEG2StreamIdMap {
public:
    DemuxOutputPin(DemuxFilter* filter, win::CritSec* lock, const wchar_t* name,
                   const dshow::MediaType& type);

    DSHOW_DECLARE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;

    HRESULT CheckMediaType(const dshow::MediaType& type) override;
    HRESULT GetMediaType(int position, dshow::MediaType* type) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
    HRESULT Active() override;
    HRESULT Inactive() override;
    HRESULT Run(REFERENCE_TIME start) override;
    // Running to paused: no delivery starts until the next Run, flush or stop.
    void HoldDeliveries() { queue_.Hold(); }

    // IMPEG2StreamIdMap
    STDMETHODIMP MapStreamId(ULONG streamId, DWORD content, ULONG filterValue, int offset) override;
    STDMETHODIMP UnmapStreamId(ULONG count, ULONG* streamIds) override;
    STDMETHODIMP EnumStreamIdMap(IEnumStreamIdMap** maps) override;

    void SetPinType(const dshow::MediaType& type) { pinType_ = type; }
    // Sends the packet if this pin maps its stream; `time` < 0 means no timestamp.
    void Offer(const mpegps::PesPacket& pes, REFERENCE_TIME time);
    // Sends stream bytes as they came (the vendor demultiplexer's stream output).
    void SendBytes(const BYTE* data, size_t size, bool discontinuity);
    // End of stream and flushing in order with the packets on this output's delivery thread.
    void QueueEndOfStream() { queue_.PushEndOfStream(); }
    void BeginQueueFlush() { queue_.BeginFlush(); }
    void EndQueueFlush() { queue_.EndFlush(); }

private:
    void Send(const uint8_t* data, size_t size, REFERENCE_TIME time, bool swap16);

    dshow::MediaType pinType_;
    std::vector<STREAM_ID_MAP> maps_;  // guarded by the filter lock
    bool discontinuity_ = true;
    OutputQueue queue_{this};
};

}  // namespace testbed

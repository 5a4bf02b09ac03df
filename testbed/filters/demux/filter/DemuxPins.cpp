#include "DemuxPins.h"

#include <mmreg.h>
#include <uuids.h>

#include <algorithm>
#include <cstring>
#include <new>

#include <win/ComPtr.h>

#include "DemuxFilter.h"

namespace testbed {
namespace {

constexpr long kBufferSize = 65536 + 1024;  // a whole PES packet
constexpr long kBufferCount = 16;

// A snapshot of a pin's stream-id map.
class StreamIdMapEnum : public dshow::UnknownBase, public IEnumStreamIdMap {
public:
    explicit StreamIdMapEnum(std::vector<STREAM_ID_MAP> maps) : dshow::UnknownBase(nullptr), maps_(std::move(maps)) {}

    DSHOW_DECLARE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override
    {
        if (!out) return E_POINTER;
        if (iid == IID_IEnumStreamIdMap) return GetInterface(static_cast<IEnumStreamIdMap*>(this), out);
        return dshow::UnknownBase::NonDelegatingQueryInterface(iid, out);
    }
    STDMETHODIMP Next(ULONG count, STREAM_ID_MAP* maps, ULONG* received) override
    {
        if (!maps) return E_POINTER;
        ULONG n = 0;
        while (n < count && next_ < maps_.size()) maps[n++] = maps_[next_++];
        if (received) *received = n;
        return n == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override
    {
        next_ = std::min(maps_.size(), next_ + count);
        return next_ < maps_.size() ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override
    {
        next_ = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnumStreamIdMap** out) override
    {
        if (!out) return E_POINTER;
        auto* copy = new (std::nothrow) StreamIdMapEnum(maps_);
        if (!copy) return E_OUTOFMEMORY;
        copy->next_ = next_;
        return copy->NonDelegatingQueryInterface(IID_IEnumStreamIdMap, reinterpret_cast<void**>(out));
    }

private:
    std::vector<STREAM_ID_MAP> maps_;
    size_t next_ = 0;
};

bool IsPcm(const AM_MEDIA_TYPE& type)
{
    return type.majortype == MEDIATYPE_Audio && type.subtype == MEDIASUBTYPE_PCM;
}

}  // namespace

DemuxInputPin::DemuxInputPin(DemuxFilter* filter, win::CritSec* lock)
    : dshow::InputPin(filter, lock, L"MPEG-2 Stream"), demux_(filter)
{
}

HRESULT DemuxInputPin::CheckMediaType(const dshow::MediaType& type)
{
    return type.majortype == MEDIATYPE_Stream ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

STDMETHODIMP DemuxInputPin::Receive(IMediaSample* sample)
{
    const HRESULT hr = dshow::InputPin::Receive(sample);
    if (hr != S_OK) return hr;
    return demux_->ReceiveData(sample);
}

STDMETHODIMP DemuxInputPin::EndOfStream()
{
    if (CheckStreaming() != S_OK) return S_OK;
    return demux_->EndOfStream();
}

STDMETHODIMP DemuxInputPin::BeginFlush()
{
    dshow::InputPin::BeginFlush();
    return demux_->BeginFlush();
}

STDMETHODIMP DemuxInputPin::EndFlush()
{
    demux_->EndFlush();
    return dshow::InputPin::EndFlush();
}

DemuxOutputPin::DemuxOutputPin(DemuxFilter* filter, win::CritSec* lock, const wchar_t* name,
                               const dshow::MediaType& type)
    : dshow::OutputPin(filter, lock, name), pinType_(type)
{
}

HRESULT DemuxOutputPin::NonDelegatingQueryInterface(REFIID iid, void** out)
{
    if (!out) return E_POINTER;
    if (iid == IID_IMPEG2StreamIdMap) return GetInterface(static_cast<IMPEG2StreamIdMap*>(this), out);
    return dshow::OutputPin::NonDelegatingQueryInterface(iid, out);
}

HRESULT DemuxOutputPin::CheckMediaType(const dshow::MediaType& type)
{
    return type.majortype == pinType_.majortype && type.subtype == pinType_.subtype ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT DemuxOutputPin::GetMediaType(int position, dshow::MediaType* type)
{
    if (position < 0) return E_INVALIDARG;
    if (position > 0) return VFW_S_NO_MORE_ITEMS;
    *type = pinType_;
    return S_OK;
}

HRESULT DemuxOutputPin::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request)
{
    request->cBuffers = std::max(request->cBuffers, kBufferCount);
    request->cbBuffer = std::max(request->cbBuffer, kBufferSize);
    request->cbAlign = std::max<long>(request->cbAlign, 1);
    ALLOCATOR_PROPERTIES actual = {};
    const HRESULT hr = allocator->SetProperties(request, &actual);
    if (FAILED(hr)) return hr;
    return actual.cbBuffer > 0 ? S_OK : E_FAIL;
}

HRESULT DemuxOutputPin::Active()
{
    discontinuity_ = true;
    const HRESULT hr = dshow::OutputPin::Active();
    return FAILED(hr) ? hr : queue_.Start();
}

HRESULT DemuxOutputPin::Inactive()
{
    const HRESULT hr = dshow::OutputPin::Inactive();  // frees a delivery waiting for a buffer
    queue_.Stop();
    return hr;
}

HRESULT DemuxOutputPin::Run(REFERENCE_TIME start)
{
    queue_.Release();
    return dshow::OutputPin::Run(start);
}

STDMETHODIMP DemuxOutputPin::MapStreamId(ULONG streamId, DWORD content, ULONG filterValue, int offset)
{
    if (streamId > 0xFF || offset < 0 || content > MPEG2_PROGRAM_SYSTEM_HEADER) return E_INVALIDARG;
    win::AutoLock lock(*lock_);
    for (const STREAM_ID_MAP& m : maps_)
        if (m.stream_id == streamId && m.ulSubstreamFilterValue == filterValue) return E_INVALIDARG;
    maps_.push_back({streamId, content, filterValue, offset});
    return S_OK;
}

STDMETHODIMP DemuxOutputPin::UnmapStreamId(ULONG count, ULONG* streamIds)
{
    if (!streamIds) return E_POINTER;
    win::AutoLock lock(*lock_);
    for (ULONG i = 0; i < count; ++i) {
        const ULONG id = streamIds[i];
        maps_.erase(std::remove_if(maps_.begin(), maps_.end(),
                                   [id](const STREAM_ID_MAP& m) { return m.stream_id == id; }),
                    maps_.end());
    }
    return S_OK;
}

STDMETHODIMP DemuxOutputPin::EnumStreamIdMap(IEnumStreamIdMap** maps)
{
    if (!maps) return E_POINTER;
    std::vector<STREAM_ID_MAP> copy;
    {
        win::AutoLock lock(*lock_);
        copy = maps_;
    }
    auto* e = new (std::nothrow) StreamIdMapEnum(std::move(copy));
    if (!e) return E_OUTOFMEMORY;
    return e->NonDelegatingQueryInterface(IID_IEnumStreamIdMap, reinterpret_cast<void**>(maps));
}

void DemuxOutputPin::Offer(const mpegps::PesPacket& pes, REFERENCE_TIME time)
{
    // The map is changed only while stopped, so the streaming thread reads it unlocked.
    for (const STREAM_ID_MAP& m : maps_) {
        if (m.stream_id != pes.streamId) continue;
        // Sub-stream values select within private stream 1 only; 0 and "none" take all of it.
        const bool filtered = pes.streamId == mpegps::kPrivateStream1Id && m.ulSubstreamFilterValue != 0 &&
                              m.ulSubstreamFilterValue != SUBSTREAM_FILTER_VAL_NONE;
        if (filtered && int(m.ulSubstreamFilterValue) != pes.subStreamId) continue;
        const uint8_t* data = pes.rawPayload;
        size_t size = pes.rawPayloadSize;
        if (m.dwMediaSampleContent == MPEG2_PROGRAM_PES_STREAM) {
            data = pes.packet;
            size = pes.packetSize;
        }
        size_t skip = size_t(m.iDataOffset);
        // LPCM for a PCM pin: the sub-stream header never reaches the renderer, and the
        // big-endian samples become the little-endian ones of a wave format.
        const bool lpcmToPcm = pes.hasLpcm && pes.lpcm.bitsPerSample == 16 && IsPcm(pinType_) &&
                               m.dwMediaSampleContent == MPEG2_PROGRAM_ELEMENTARY_STREAM;
        if (lpcmToPcm) skip = std::max(skip, size_t(pes.payload - pes.rawPayload));
        if (skip >= size) return;
        Send(data + skip, size - skip, time, lpcmToPcm);
        return;
    }
}

void DemuxOutputPin::Send(const uint8_t* data, size_t size, REFERENCE_TIME time, bool swap16)
{
    std::vector<uint8_t> bytes(data, data + (swap16 ? size & ~size_t(1) : size));
    if (swap16) {
        for (size_t i = 0; i + 1 < bytes.size(); i += 2) std::swap(bytes[i], bytes[i + 1]);
    }
    queue_.Push(std::move(bytes), time, discontinuity_);
    discontinuity_ = false;
}

void DemuxOutputPin::SendBytes(const BYTE* data, size_t size, bool discontinuity)
{
    if (discontinuity) discontinuity_ = true;
    Send(data, size, -1, false);
}

}  // namespace testbed

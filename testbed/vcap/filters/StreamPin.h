#pragma once
// The multiplexed stream output (MEDIATYPE_Stream): from Run on it delivers the card's program
// stream in real time, each sample a run of packs released when the stream's clock reaches
// them, as the encoder chip would hand them over.
#include "DeviceModel.h"
#include "EncoderState.h"
#include "StreamGenerator.h"

#include "dshowbase/PushSource.h"

#include <chrono>
#include <memory>
#include <vector>

namespace vcap {

// IAMStreamControl::StopAt lets a recording end cleanly: at the stop time the pin sends the
// rest of the stream, the sequence and program end codes, and then end of stream.
class StreamPin : public dshow::SourceStream, public IAMStreamControl {
public:
    StreamPin(dshow::SourceFilter* filter, const wchar_t* name, const int* cardNumber);

    // A pin answers for its own interfaces and counts on its filter. (The shared macro would
    // send QueryInterface to the filter, which does not know the pin's interfaces.)
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override { return NonDelegatingQueryInterface(iid, out); }
    STDMETHODIMP_(ULONG) AddRef() override { return Owner()->AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return Owner()->Release(); }
    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;

    // IAMStreamControl: the stream starts with the graph; only an immediate start is known.
    STDMETHODIMP StartAt(const REFERENCE_TIME* start, DWORD cookie) override;
    STDMETHODIMP StopAt(const REFERENCE_TIME* stop, BOOL sendExtra, DWORD cookie) override;
    STDMETHODIMP GetInfo(AM_STREAM_INFO* info) override;

    HRESULT CheckMediaType(const dshow::MediaType& type) override;
    HRESULT GetMediaType(int position, dshow::MediaType* type) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
    HRESULT FillBuffer(IMediaSample* sample) override;
    HRESULT OnThreadStart() override;
    HRESULT Run(REFERENCE_TIME start) override;
    HRESULT OnThreadStop() override;
    bool DeliversWhilePaused() const override { return false; }

    static constexpr int kPacksPerSample = 8;
    // The encoder's output buffer: a host that falls further behind than this loses frames.
    static constexpr std::chrono::milliseconds kEncoderBuffer{1000};

private:
    const GUID& CurrentSubtype() const;
    void StampPosition(IMediaSample* sample, size_t length);

    const int* cardNumber_;  // the owning filter's card, known once its property bag is loaded
    std::unique_ptr<StreamGenerator> generator_;
    std::chrono::steady_clock::time_point started_{};
    std::chrono::steady_clock::time_point ranAt_{};  // when the graph last told the card to run
    bool clockStarted_ = false;
    bool overrun_ = false;  // behind by more than the encoder's buffer; reported once
    uint32_t flowBreaks_ = 0;  // the card's break count when the stream started

    win::CritSec controlLock_;
    REFERENCE_TIME stopAt_ = MAXLONGLONG;  // stream time
    DWORD stopCookie_ = 0;
    std::vector<uint8_t> tail_;  // the end of the stream still to deliver after the stop time
    size_t tailSent_ = 0;
    uint64_t bytesDelivered_ = 0;  // stream samples are stamped with their byte position
    bool ending_ = false;
};

}  // namespace vcap

#include "StreamPin.h"

#include "CardControl.h"
#include "DecoderModel.h"
#include "FrontEnd.h"

#include <uuids.h>

#include <algorithm>
#include <cstring>
#include <thread>
#include <vector>

namespace vcap {

StreamPin::StreamPin(dshow::SourceFilter* filter, const wchar_t* name, const int* cardNumber)
    : SourceStream(filter, name), cardNumber_(cardNumber)
{
}

HRESULT STDMETHODCALLTYPE StreamPin::NonDelegatingQueryInterface(REFIID iid, void** out)
{
    if (iid == IID_IAMStreamControl)
        return GetInterface(static_cast<IAMStreamControl*>(this), out);
    return SourceStream::NonDelegatingQueryInterface(iid, out);
}

STDMETHODIMP StreamPin::StartAt(const REFERENCE_TIME* start, DWORD)
{
    if (start && *start != 0)
        return E_NOTIMPL;
    win::AutoLock lock(controlLock_);
    if (ending_)
        return VFW_E_WRONG_STATE;
    stopAt_ = MAXLONGLONG;
    return S_OK;
}

STDMETHODIMP StreamPin::StopAt(const REFERENCE_TIME* stop, BOOL, DWORD cookie)
{
    win::AutoLock lock(controlLock_);
    stopAt_ = stop ? *stop : 0;  // null: stop now
    stopCookie_ = cookie;
    return S_OK;
}

STDMETHODIMP StreamPin::GetInfo(AM_STREAM_INFO* info)
{
    if (!info)
        return E_POINTER;
    win::AutoLock lock(controlLock_);
    *info = AM_STREAM_INFO{};
    info->tStop = stopAt_;
    info->dwStopCookie = stopCookie_;
    info->dwFlags = (stopAt_ != MAXLONGLONG ? AM_STREAM_INFO_STOP_DEFINED : 0) |
                    (ending_ && tailSent_ >= tail_.size() ? AM_STREAM_INFO_DISCARDING : 0);
    return S_OK;
}

const GUID& StreamPin::CurrentSubtype() const
{
    EncoderState s;
    LoadEncoderState(*cardNumber_, s);
    return (s.captureMode == 2 || s.captureMode == 4) ? MEDIASUBTYPE_MPEG2_PROGRAM : MEDIASUBTYPE_MPEG1System;
}

HRESULT StreamPin::CheckMediaType(const dshow::MediaType& type)
{
    return type.majortype == MEDIATYPE_Stream && type.subtype == CurrentSubtype() ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT StreamPin::GetMediaType(int position, dshow::MediaType* type)
{
    if (position < 0)
        return E_INVALIDARG;
    if (position > 0)
        return VFW_S_NO_MORE_ITEMS;
    *type = dshow::MediaType(MEDIATYPE_Stream, CurrentSubtype());
    type->bFixedSizeSamples = TRUE;
    type->lSampleSize = static_cast<ULONG>(StreamGenerator::kPackSize * kPacksPerSample);
    return S_OK;
}

HRESULT StreamPin::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request)
{
    if (request->cBuffers < 8)
        request->cBuffers = 8;
    const long size = static_cast<long>(StreamGenerator::kPackSize * kPacksPerSample);
    if (request->cbBuffer < size)
        request->cbBuffer = size;
    if (request->cbAlign < 1)
        request->cbAlign = 1;
    ALLOCATOR_PROPERTIES actual{};
    HRESULT hr = allocator->SetProperties(request, &actual);
    if (FAILED(hr))
        return hr;
    return actual.cbBuffer < size ? E_FAIL : S_OK;
}

HRESULT StreamPin::OnThreadStart()
{
    EncoderState s;
    if (!LoadEncoderState(*cardNumber_, s))
        return E_FAIL;
    const StreamConfig c = MakeStreamConfig(s);
    if (!Validate(c).empty())
        return E_FAIL;
    generator_ = std::make_unique<StreamGenerator>(c);
    CardControlState control;
    flowBreaks_ = ReadControl(*cardNumber_, control) ? control.flowBreaks : 0;
    clockStarted_ = false;
    overrun_ = false;
    // A stop time set before the graph runs stays in force.
    win::AutoLock lock(controlLock_);
    tail_.clear();
    tailSent_ = 0;
    bytesDelivered_ = 0;
    ending_ = false;
    return S_OK;
}

HRESULT StreamPin::Run(REFERENCE_TIME start)
{
    // Before the streaming thread is woken: it reads the time once it runs.
    ranAt_ = std::chrono::steady_clock::now();
    return SourceStream::Run(start);
}

// The thread ends on its own (end of stream, a refused delivery, a stream that could not
// start) only when the flow has stopped without the graph asking: the card reports it.
HRESULT StreamPin::OnThreadStop()
{
    if (!StopRequested())
        ReportFlowStopped(*cardNumber_);
    return S_OK;
}

// A byte stream's samples carry their position in the stream as start and stop "times";
// a file writer places them in the file by it.
void StreamPin::StampPosition(IMediaSample* sample, size_t length)
{
    REFERENCE_TIME start = static_cast<REFERENCE_TIME>(bytesDelivered_);
    bytesDelivered_ += length;
    REFERENCE_TIME stop = static_cast<REFERENCE_TIME>(bytesDelivered_);
    sample->SetTime(&start, &stop);
}

HRESULT StreamPin::FillBuffer(IMediaSample* sample)
{
    if (!generator_)
        return E_UNEXPECTED;
    // The encoder started when the graph ran, however late this thread comes for its first
    // sample: what is already due goes out at once, so a slow start costs no stream.
    if (!clockStarted_) {
        started_ = ranAt_;
        clockStarted_ = true;
    }
    BYTE* buffer = nullptr;
    if (FAILED(sample->GetPointer(&buffer)) || sample->GetSize() < static_cast<long>(StreamGenerator::kPackSize * kPacksPerSample))
        return E_FAIL;
    const long capacity = static_cast<long>(StreamGenerator::kPackSize * kPacksPerSample);
    {
        win::AutoLock lock(controlLock_);
        const REFERENCE_TIME now = static_cast<REFERENCE_TIME>(generator_->nextScr27() * 10 / 27);
        if (!ending_ && now >= stopAt_) {
            ending_ = true;
            generator_->finish(tail_);
        }
        if (ending_) {
            if (tailSent_ >= tail_.size()) {
                stopAt_ = MAXLONGLONG;  // reached: the next run streams again
                return S_FALSE;         // end of stream downstream
            }
            const size_t n = std::min(tail_.size() - tailSent_, static_cast<size_t>(capacity));
            std::memcpy(buffer, tail_.data() + tailSent_, n);
            tailSent_ += n;
            sample->SetActualDataLength(static_cast<long>(n));
            StampPosition(sample, n);
            return S_OK;
        }
    }
    // A break from the control channel: the encoder stops handing packs over, mid-stream.
    CardControlState control;
    if (ReadControl(*cardNumber_, control) && control.flowBreaks != flowBreaks_)
        return S_FALSE;
    // What the decoder sees of the routed input: blue and silent while it has no signal.
    const RoutedVideo routed = ReadRoutedVideo(*cardNumber_, GetTickCount());
    generator_->setSignal(routed.state.signal);
    generator_->setCaption(RoutedCaption(routed), StandardCaption(routed.state.standard));
    generator_->setAdjust(CardPictureAdjust(*cardNumber_));
    std::vector<uint8_t> packs;
    packs.reserve(StreamGenerator::kPackSize * kPacksPerSample);
    for (int i = 0; i < kPacksPerSample; ++i)
        generator_->nextPack(packs);
    // A pack leaves the encoder once its last byte is due: wait for the end of the last one.
    const uint64_t dueScr = generator_->nextScr27();
    auto due = started_ + std::chrono::microseconds(dueScr / 27);
    // A host that stopped taking samples for longer than the encoder can buffer has lost
    // frames: the card says so once and carries on from the present.
    const auto late = std::chrono::steady_clock::now() - due;
    if (late > kEncoderBuffer) {
        if (!overrun_)
            ReportDroppedFrames(*cardNumber_);
        overrun_ = true;
        started_ += late;
        due += late;
    } else if (late <= std::chrono::steady_clock::duration::zero()) {
        overrun_ = false;
    }
    while (!StopRequested() && std::chrono::steady_clock::now() < due)
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(
            due - std::chrono::steady_clock::now(), std::chrono::milliseconds(20)));
    if (StopRequested())
        return S_FALSE;
    std::memcpy(buffer, packs.data(), packs.size());
    sample->SetActualDataLength(static_cast<long>(packs.size()));
    StampPosition(sample, packs.size());
    sample->SetSyncPoint(TRUE);
    return S_OK;
}

}  // namespace vcap

#include "VideoEsPin.h"

#include "DecoderModel.h"
#include "FrontEnd.h"

#include <amvideo.h>
#include <dvdmedia.h>
#include <uuids.h>
#include <vfwmsgs.h>

#include <algorithm>
#include <cstring>
#include <thread>

namespace vcap {

namespace {

// AM_MPEG2Profile_Main and AM_MPEG2Level_Main of the format block (not in MinGW's headers).
constexpr DWORD kProfileMain = 2;
constexpr DWORD kLevelMain = 2;

}  // namespace

dshow::MediaType ElementaryVideoType(const StreamConfig& c)
{
    const REFERENCE_TIME frame = static_cast<REFERENCE_TIME>(10000000ull * FrameRateDen(c) / FrameRateNum(c));
    BITMAPINFOHEADER bmi{};
    bmi.biSize = sizeof bmi;
    bmi.biWidth = static_cast<LONG>(c.width);
    bmi.biHeight = static_cast<LONG>(c.height);
    const RECT rect = {0, 0, static_cast<LONG>(c.width), static_cast<LONG>(c.height)};
    if (IsMpeg2(c)) {
        MPEG2VIDEOINFO v{};
        v.hdr.rcSource = v.hdr.rcTarget = rect;
        v.hdr.dwBitRate = c.videoBitRate;
        v.hdr.AvgTimePerFrame = frame;
        v.hdr.dwPictAspectRatioX = 4;
        v.hdr.dwPictAspectRatioY = 3;
        v.hdr.bmiHeader = bmi;
        v.dwProfile = kProfileMain;
        v.dwLevel = kLevelMain;
        dshow::MediaType t(MEDIATYPE_Video, MEDIASUBTYPE_MPEG2_VIDEO);
        t.SetFormat(FORMAT_MPEG2Video, &v, sizeof v - sizeof v.dwSequenceHeader);
        return t;
    }
    MPEG1VIDEOINFO v{};
    v.hdr.rcSource = v.hdr.rcTarget = rect;
    v.hdr.dwBitRate = c.videoBitRate;
    v.hdr.AvgTimePerFrame = frame;
    v.hdr.bmiHeader = bmi;
    dshow::MediaType t(MEDIATYPE_Video, MEDIASUBTYPE_MPEG1Payload);
    t.SetFormat(FORMAT_MPEGVideo, &v, sizeof v - sizeof v.bSequenceHeader);
    return t;
}

VideoEsPin::VideoEsPin(dshow::SourceFilter* filter, const int* cardNumber)
    : SourceStream(filter, L"MPEG Video Out"), cardNumber_(cardNumber)
{
}

HRESULT STDMETHODCALLTYPE VideoEsPin::NonDelegatingQueryInterface(REFIID iid, void** out)
{
    if (iid == IID_IAMStreamControl)
        return GetInterface(static_cast<IAMStreamControl*>(this), out);
    return SourceStream::NonDelegatingQueryInterface(iid, out);
}

HRESULT VideoEsPin::CheckMediaType(const dshow::MediaType& type)
{
    EncoderState s;
    LoadEncoderState(*cardNumber_, s);
    const dshow::MediaType mine = ElementaryVideoType(MakeStreamConfig(s));
    return type.majortype == mine.majortype && type.subtype == mine.subtype ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT VideoEsPin::GetMediaType(int position, dshow::MediaType* type)
{
    if (position < 0)
        return E_INVALIDARG;
    if (position > 0)
        return VFW_S_NO_MORE_ITEMS;
    EncoderState s;
    LoadEncoderState(*cardNumber_, s);
    *type = ElementaryVideoType(MakeStreamConfig(s));
    return S_OK;
}

HRESULT VideoEsPin::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request)
{
    request->cBuffers = std::max<long>(request->cBuffers, 6);
    request->cbBuffer = std::max(request->cbBuffer, kBufferBytes);
    request->cbAlign = std::max<long>(request->cbAlign, 1);
    ALLOCATOR_PROPERTIES actual{};
    const HRESULT hr = allocator->SetProperties(request, &actual);
    if (FAILED(hr))
        return hr;
    return actual.cbBuffer < kBufferBytes ? E_FAIL : S_OK;
}

HRESULT VideoEsPin::OnThreadStart()
{
    EncoderState s;
    if (!LoadEncoderState(*cardNumber_, s))
        return E_FAIL;
    config_ = MakeStreamConfig(s);
    if (!Validate(config_).empty())
        return E_FAIL;
    encoder_ = std::make_unique<VideoEncoder>(config_);
    picture_.resize(static_cast<int>(config_.width), static_cast<int>(config_.height));
    pictures_ = 0;
    pending_.clear();
    clockStarted_ = false;
    return S_OK;
}

HRESULT VideoEsPin::Run(REFERENCE_TIME start)
{
    ranAt_ = std::chrono::steady_clock::now();
    return SourceStream::Run(start);
}

REFERENCE_TIME VideoEsPin::PictureTime(uint64_t picture) const
{
    return static_cast<REFERENCE_TIME>(picture * 10000000ull * FrameRateDen(config_) / FrameRateNum(config_));
}

HRESULT VideoEsPin::FillBuffer(IMediaSample* sample)
{
    if (!encoder_)
        return E_UNEXPECTED;
    if (!clockStarted_) {
        started_ = ranAt_;
        clockStarted_ = true;
    }
    BYTE* data = nullptr;
    if (FAILED(sample->GetPointer(&data)))
        return E_FAIL;
    const size_t capacity = static_cast<size_t>(sample->GetSize());
    if (pending_.empty()) {
        // A picture is encoded once it has been captured, at the end of its period.
        const auto due = started_ + std::chrono::microseconds(PictureTime(pictures_ + 1) / 10);
        while (!StopRequested() && std::chrono::steady_clock::now() < due)
            std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(due - std::chrono::steady_clock::now(),
                                                                                      std::chrono::milliseconds(20)));
        if (StopRequested() || StopReached(PictureTime(pictures_)))
            return S_FALSE;
        const RoutedVideo routed = ReadRoutedVideo(*cardNumber_, GetTickCount());
        const PictureCaption caption{RoutedCaption(routed), StandardCaption(routed.state.standard), routed.state.signal,
                                     CardPictureAdjust(*cardNumber_)};
        RenderTestPicture(picture_, caption, pictures_);
        encoder_->encode(picture_, pending_);
        REFERENCE_TIME start = PictureTime(pictures_);
        REFERENCE_TIME stop = PictureTime(pictures_ + 1);
        sample->SetTime(&start, &stop);
        sample->SetSyncPoint(TRUE);
        ++pictures_;
    } else {
        sample->SetTime(nullptr, nullptr);  // the rest of the picture before
    }
    const size_t n = std::min(capacity, pending_.size());
    std::memcpy(data, pending_.data(), n);
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(n));
    sample->SetActualDataLength(static_cast<long>(n));
    return S_OK;
}

}  // namespace vcap

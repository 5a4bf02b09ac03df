#include "VideoDecoderFilter.h"

#include <amvideo.h>
#include <dvdmedia.h>
#include <uuids.h>

#include <algorithm>
#include <cstdlib>

#include <cstring>
#include <new>

#include <win/ComPtr.h>

namespace testbed {
namespace {

bool IsMpegVideoSubtype(const GUID& sub)
{
    return sub == MEDIASUBTYPE_MPEG2_VIDEO || sub == MEDIASUBTYPE_MPEG1Payload ||
           sub == MEDIASUBTYPE_MPEG1Packet || sub == MEDIASUBTYPE_MPEG1Video;
}

}  // namespace

dshow::INonDelegatingUnknown* VideoDecoderFilter::Create(IUnknown* outer, HRESULT* hr, const CLSID& clsid)
{
    auto* filter = new (std::nothrow) VideoDecoderFilter(outer, clsid);
    if (!filter) *hr = E_OUTOFMEMORY;
    return filter;
}

VideoDecoderFilter::VideoDecoderFilter(IUnknown* outer, const CLSID& clsid)
    : dshow::TransformFilter(outer, clsid, L"Video Input", L"Video Output")
{
}

HRESULT VideoDecoderFilter::NonDelegatingQueryInterface(REFIID iid, void** out)
{
    if (!out) return E_POINTER;
    if (iid == __uuidof(IDecoderStillImage) || iid == kIidDecoderStillImage2)
        return GetInterface(static_cast<IDecoderStillImage*>(this), out);
    if (iid == __uuidof(IDecoderOption)) return GetInterface(static_cast<IDecoderOption*>(this), out);
    return dshow::TransformFilter::NonDelegatingQueryInterface(iid, out);
}

bool VideoDecoderFilter::ReadInputFormat(const dshow::MediaType& type, int* width, int* height,
                                         REFERENCE_TIME* frameDuration,
                                         std::vector<uint8_t>* sequenceHeader) const
{
    if (type.formattype == FORMAT_MPEG2Video && type.cbFormat >= sizeof(MPEG2VIDEOINFO) - 4) {
        const auto* info = reinterpret_cast<const MPEG2VIDEOINFO*>(type.pbFormat);
        *width = info->hdr.bmiHeader.biWidth;
        *height = std::abs(info->hdr.bmiHeader.biHeight);
        *frameDuration = info->hdr.AvgTimePerFrame;
        const size_t available = type.cbFormat - offsetof(MPEG2VIDEOINFO, dwSequenceHeader);
        const size_t count = std::min<size_t>(info->cbSequenceHeader, available);
        const auto* bytes = reinterpret_cast<const uint8_t*>(info->dwSequenceHeader);
        sequenceHeader->assign(bytes, bytes + count);
    } else if (type.formattype == FORMAT_MPEGVideo && type.cbFormat >= sizeof(MPEG1VIDEOINFO) - 1) {
        const auto* info = reinterpret_cast<const MPEG1VIDEOINFO*>(type.pbFormat);
        *width = info->hdr.bmiHeader.biWidth;
        *height = std::abs(info->hdr.bmiHeader.biHeight);
        *frameDuration = info->hdr.AvgTimePerFrame;
        const size_t available = type.cbFormat - offsetof(MPEG1VIDEOINFO, bSequenceHeader);
        const size_t count = std::min<size_t>(info->cbSequenceHeader, available);
        sequenceHeader->assign(info->bSequenceHeader, info->bSequenceHeader + count);
    } else {
        return false;
    }
    if (*frameDuration <= 0) *frameDuration = 400000;
    return *width > 0 && *height > 0 && *width <= 4096 && *height <= 4096;
}

HRESULT VideoDecoderFilter::CheckInputType(const dshow::MediaType& input)
{
    if (input.majortype != MEDIATYPE_Video || !IsMpegVideoSubtype(input.subtype)) return VFW_E_TYPE_NOT_ACCEPTED;
    int w, h;
    REFERENCE_TIME d;
    std::vector<uint8_t> seq;
    return ReadInputFormat(input, &w, &h, &d, &seq) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT VideoDecoderFilter::GetMediaType(int position, dshow::MediaType* output)
{
    if (!Input()->IsConnected()) return E_UNEXPECTED;
    if (position < 0) return E_INVALIDARG;
    if (position > 0) return VFW_S_NO_MORE_ITEMS;
    int w, h;
    REFERENCE_TIME duration;
    std::vector<uint8_t> seq;
    if (!ReadInputFormat(Input()->CurrentMediaType(), &w, &h, &duration, &seq)) return E_UNEXPECTED;
    VIDEOINFOHEADER vih = {};
    vih.AvgTimePerFrame = duration;
    vih.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    vih.bmiHeader.biWidth = w;
    vih.bmiHeader.biHeight = h;  // bottom-up, as GDI renderers expect
    vih.bmiHeader.biPlanes = 1;
    vih.bmiHeader.biBitCount = 32;
    vih.bmiHeader.biCompression = BI_RGB;
    vih.bmiHeader.biSizeImage = DWORD(w) * h * 4;
    *output = dshow::MediaType(MEDIATYPE_Video, MEDIASUBTYPE_RGB32, FORMAT_VideoInfo);
    output->bFixedSizeSamples = TRUE;
    output->lSampleSize = vih.bmiHeader.biSizeImage;
    return output->SetFormat(FORMAT_VideoInfo, &vih, sizeof vih) ? S_OK : E_OUTOFMEMORY;
}

HRESULT VideoDecoderFilter::CheckTransform(const dshow::MediaType& input, const dshow::MediaType& output)
{
    if (output.majortype != MEDIATYPE_Video || output.subtype != MEDIASUBTYPE_RGB32 ||
        output.formattype != FORMAT_VideoInfo || output.cbFormat < sizeof(VIDEOINFOHEADER))
        return VFW_E_TYPE_NOT_ACCEPTED;
    int w, h;
    REFERENCE_TIME d;
    std::vector<uint8_t> seq;
    if (!ReadInputFormat(input, &w, &h, &d, &seq)) return VFW_E_TYPE_NOT_ACCEPTED;
    const auto* vih = reinterpret_cast<const VIDEOINFOHEADER*>(output.pbFormat);
    // The renderer may ask for a wider stride, never for a different picture.
    if (vih->bmiHeader.biWidth < w || std::abs(vih->bmiHeader.biHeight) != h) return VFW_E_TYPE_NOT_ACCEPTED;
    return S_OK;
}

HRESULT VideoDecoderFilter::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request)
{
    const auto* vih = reinterpret_cast<const VIDEOINFOHEADER*>(Output()->CurrentMediaType().pbFormat);
    request->cBuffers = std::max<long>(request->cBuffers, 2);
    request->cbBuffer = std::max<long>(request->cbBuffer, long(vih->bmiHeader.biWidth) * std::abs(vih->bmiHeader.biHeight) * 4);
    request->cbAlign = std::max<long>(request->cbAlign, 1);
    ALLOCATOR_PROPERTIES actual = {};
    const HRESULT hr = allocator->SetProperties(request, &actual);
    if (FAILED(hr)) return hr;
    return actual.cbBuffer < request->cbBuffer ? E_FAIL : S_OK;
}

HRESULT VideoDecoderFilter::Transform(IMediaSample*, IMediaSample*) { return E_UNEXPECTED; }

HRESULT VideoDecoderFilter::StartStreaming()
{
    if (!ReadInputFormat(Input()->CurrentMediaType(), &width_, &height_, &frameDuration_, &sequenceHeader_))
        return VFW_E_TYPE_NOT_ACCEPTED;
    decoder_ = std::make_unique<mpegv::VideoStreamDecoder>(
        [this](const mpegv::Picture& p, bool hasTime, int64_t time) { OnPicture(p, hasTime, time); });
    if (!sequenceHeader_.empty()) decoder_->Push(sequenceHeader_.data(), sequenceHeader_.size());
    return S_OK;
}

HRESULT VideoDecoderFilter::StopStreaming()
{
    decoder_.reset();
    return S_OK;
}

HRESULT VideoDecoderFilter::Receive(IMediaSample* sample)
{
    if (!decoder_ || !Output()->IsConnected()) return S_OK;
    BYTE* data = nullptr;
    if (FAILED(sample->GetPointer(&data))) return E_POINTER;
    if (sample->IsDiscontinuity() == S_OK) decoder_->Reset();
    REFERENCE_TIME start = 0, stop = 0;
    const bool hasTime = SUCCEEDED(sample->GetTime(&start, &stop));
    deliverResult_ = S_OK;
    decoder_->Push(data, size_t(sample->GetActualDataLength()), hasTime, start);
    return deliverResult_;
}

void VideoDecoderFilter::OnPicture(const mpegv::Picture& picture, bool hasTime, int64_t time)
{
    if (picture.width != width_ || picture.height != height_) return;  // not what was negotiated
    win::ComPtr<IMediaSample> out;
    HRESULT hr = Output()->GetDeliveryBuffer(out.Put(), nullptr, nullptr, 0);
    if (FAILED(hr)) {
        deliverResult_ = hr;
        return;
    }
    // The renderer may have switched the buffer to another stride.
    LONG strideWidth = width_;
    AM_MEDIA_TYPE* changed = nullptr;
    if (out->GetMediaType(&changed) == S_OK && changed) {
        dshow::MediaType type(*changed);
        dshow::DeleteMediaType(changed);
        Output()->SetMediaType(type);
        const auto* vih = reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat);
        if (type.formattype == FORMAT_VideoInfo && vih) strideWidth = vih->bmiHeader.biWidth;
    }
    BYTE* dst = nullptr;
    out->GetPointer(&dst);
    if (out->GetSize() < strideWidth * height_ * 4) {
        deliverResult_ = E_FAIL;
        return;
    }
    mpegv::ConvertToRgb(picture, dst, ptrdiff_t(strideWidth) * 4, 4, true);
    out->SetActualDataLength(strideWidth * height_ * 4);
    out->SetSyncPoint(TRUE);
    if (hasTime) {
        REFERENCE_TIME start = time, stop = time + frameDuration_;
        out->SetTime(&start, &stop);
    } else {
        out->SetTime(nullptr, nullptr);
    }
    {
        // The still copy: a packed 24-bit bottom-up DIB of the picture.
        win::AutoLock lock(stillLock_);
        const LONG stride = (width_ * 3 + 3) & ~3;
        still_.assign(sizeof(BITMAPINFOHEADER) + size_t(stride) * height_, 0);
        auto* bih = reinterpret_cast<BITMAPINFOHEADER*>(still_.data());
        bih->biSize = sizeof(BITMAPINFOHEADER);
        bih->biWidth = width_;
        bih->biHeight = height_;
        bih->biPlanes = 1;
        bih->biBitCount = 24;
        bih->biCompression = BI_RGB;
        bih->biSizeImage = DWORD(stride) * height_;
        mpegv::ConvertToRgb(picture, still_.data() + sizeof(BITMAPINFOHEADER), stride, 3, true);
        ++picturesDecoded_;
    }
    hr = Output()->Deliver(out.Get());
    if (FAILED(hr)) deliverResult_ = hr;
}

HRESULT VideoDecoderFilter::EndOfStream()
{
    if (decoder_) decoder_->Flush();
    return dshow::TransformFilter::EndOfStream();
}

HRESULT VideoDecoderFilter::BeginFlush()
{
    if (decoder_) decoder_->Reset();
    return dshow::TransformFilter::BeginFlush();
}

STDMETHODIMP VideoDecoderFilter::GetPictureSize(LONG* width, LONG* height)
{
    if (!width || !height) return E_POINTER;
    win::AutoLock lock(stillLock_);
    if (still_.empty()) return E_FAIL;
    const auto* bih = reinterpret_cast<const BITMAPINFOHEADER*>(still_.data());
    *width = bih->biWidth;
    *height = bih->biHeight;
    return S_OK;
}

STDMETHODIMP VideoDecoderFilter::GetPicturesDecoded(LONG* count)
{
    if (!count) return E_POINTER;
    win::AutoLock lock(stillLock_);
    *count = picturesDecoded_;
    return S_OK;
}

STDMETHODIMP VideoDecoderFilter::HasPicture()
{
    win::AutoLock lock(stillLock_);
    return still_.empty() ? S_FALSE : S_OK;
}

STDMETHODIMP VideoDecoderFilter::GetCurrentImage(LONG* size, BYTE* image)
{
    if (!size) return E_POINTER;
    win::AutoLock lock(stillLock_);
    if (still_.empty()) return E_FAIL;  // nothing decoded yet
    const LONG needed = LONG(still_.size());
    if (!image) {
        *size = needed;
        return S_OK;
    }
    if (*size < needed) return E_OUTOFMEMORY;
    std::memcpy(image, still_.data(), still_.size());
    *size = needed;
    return S_OK;
}

STDMETHODIMP VideoDecoderFilter::GetOption(DWORD* value)
{
    if (!value) return E_POINTER;
    *value = option_;
    return S_OK;
}

STDMETHODIMP VideoDecoderFilter::SetOption(DWORD value)
{
    option_ = value;
    return S_OK;
}

}  // namespace testbed

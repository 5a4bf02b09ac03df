#include "MediaThumbnail.h"
#include "dshowbase/MediaType.h"

#include "Trace.h"
#include <win/ComPtr.h>

#include <dshow.h>
#include <qedit.h>

#include <cstdlib>
#include <vector>

namespace media {

namespace {

const CLSID kClsidMediaDet = {0x65BD0711, 0x24D2, 0x4FF7, {0x93, 0x24, 0xED, 0x2E, 0x5D, 0x3A, 0xBA, 0xFA}};
const IID kIidMediaDet = {0x65BD0710, 0x24D2, 0x4FF7, {0x93, 0x24, 0xED, 0x2E, 0x5D, 0x3A, 0xBA, 0xFA}};
constexpr ULONG kMinVideoInfoBytes = 88;

std::wstring Widen(const std::string& text)
{
    const int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(n > 0 ? static_cast<size_t>(n) : 1, L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), n);
    wide.resize(wcslen(wide.c_str()));
    return wide;
}

struct BstrHolder {
    BSTR value;
    explicit BstrHolder(const std::wstring& text) : value(SysAllocString(text.c_str())) {}
    ~BstrHolder() { SysFreeString(value); }
    BstrHolder(const BstrHolder&) = delete;
    BstrHolder& operator=(const BstrHolder&) = delete;
};

// The picture size of the first video stream, selected as the detector's current stream.
HRESULT SelectFirstVideoStream(IMediaDet* detector, long* width, long* height)
{
    long streams = 0;
    HRESULT hr = detector->get_OutputStreams(&streams);
    if (FAILED(hr))
        return TraceFailure("IMediaDet::get_OutputStreams", hr);
    for (long i = 0; i < streams; ++i) {
        if (FAILED(hr = detector->put_CurrentStream(i)))
            return TraceFailure("IMediaDet::put_CurrentStream", hr);
        dshow::MediaType mt;  // frees the detector's format block
        if (FAILED(hr = detector->get_StreamMediaType(&mt)))
            return TraceFailure("IMediaDet::get_StreamMediaType", hr);
        if (mt.majortype != MEDIATYPE_Video)
            continue;
        if (mt.formattype != FORMAT_VideoInfo || mt.cbFormat < kMinVideoInfoBytes || !mt.pbFormat)
            return VFW_E_INVALIDMEDIATYPE;
        const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(mt.pbFormat);
        *width = info->bmiHeader.biWidth;
        *height = std::labs(info->bmiHeader.biHeight);
        return S_OK;
    }
    return VFW_E_INVALIDMEDIATYPE;
}

}  // namespace

HRESULT WriteThumbnail(const std::string& recordingPath, const std::string& bitmapPath, int width, int height)
{
    win::ComPtr<IMediaDet> detector;
    HRESULT hr = CoCreateInstance(kClsidMediaDet, nullptr, CLSCTX_INPROC_SERVER, kIidMediaDet, detector.PutVoid());
    if (FAILED(hr))
        return TraceFailure("CoCreateInstance(MediaDet)", hr);
    BstrHolder source(Widen(recordingPath));
    if (FAILED(hr = detector->put_Filename(source.value)))
        return TraceFailure("IMediaDet::put_Filename", hr);
    long pictureWidth = 0, pictureHeight = 0;
    if (FAILED(hr = SelectFirstVideoStream(detector.Get(), &pictureWidth, &pictureHeight)))
        return hr;
    if (width == 0 || height == 0) {
        width = static_cast<int>(pictureWidth);
        height = static_cast<int>(pictureHeight);
    }
    BstrHolder target(Widen(bitmapPath));
    if (FAILED(hr = detector->WriteBitmapBits(0.0, width, height, target.value)))
        return TraceFailure("IMediaDet::WriteBitmapBits", hr);
    return S_OK;
}

}  // namespace media

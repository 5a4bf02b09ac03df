#include "ViewerGraph.h"

#include "CardBinding.h"
#include "EncoderState.h"
#include "FilterIds.h"

#include "dshowbase/MediaType.h"

#include <amvideo.h>
#include <dvdmedia.h>
#include <uuids.h>

#include <cstdio>
#include <vector>

namespace vcap {
namespace {

std::string Failed(const char* what, HRESULT hr)
{
    char text[160];
    std::snprintf(text, sizeof text, "%s failed (0x%08lX)", what, static_cast<unsigned long>(hr));
    return text;
}

win::ComPtr<IPin> FirstPin(IBaseFilter* f, PIN_DIRECTION direction)
{
    win::ComPtr<IEnumPins> pins;
    if (FAILED(f->EnumPins(pins.Put())))
        return {};
    win::ComPtr<IPin> p;
    while (pins->Next(1, p.Put(), nullptr) == S_OK) {
        PIN_DIRECTION d;
        if (SUCCEEDED(p->QueryDirection(&d)) && d == direction)
            return p;
    }
    return {};
}

// The elementary video the demultiplexer hands on: MPEG-2 for modes 2 and 4, else MPEG-1.
// The decoder finds the sequence header in the stream, so the format carries none.
dshow::MediaType VideoType(const EncoderState& s)
{
    const LONG w = static_cast<LONG>(s.params.horzResolution), h = static_cast<LONG>(s.params.vertResolution);
    const REFERENCE_TIME frame = s.captureStandard == 0 ? 333667 : 400000;
    VIDEOINFOHEADER hdr{};
    hdr.AvgTimePerFrame = frame;
    hdr.rcSource = {0, 0, w, h};
    hdr.rcTarget = hdr.rcSource;
    hdr.dwBitRate = s.params.bitRate;
    hdr.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    hdr.bmiHeader.biWidth = w;
    hdr.bmiHeader.biHeight = h;
    if (s.captureMode == 2 || s.captureMode == 4) {
        MPEG2VIDEOINFO info{};
        info.hdr.AvgTimePerFrame = hdr.AvgTimePerFrame;
        info.hdr.rcSource = hdr.rcSource;
        info.hdr.rcTarget = hdr.rcTarget;
        info.hdr.dwBitRate = hdr.dwBitRate;
        info.hdr.dwPictAspectRatioX = 4;
        info.hdr.dwPictAspectRatioY = 3;
        info.hdr.bmiHeader = hdr.bmiHeader;
        dshow::MediaType type(MEDIATYPE_Video, MEDIASUBTYPE_MPEG2_VIDEO, FORMAT_MPEG2Video);
        type.SetFormat(FORMAT_MPEG2Video, &info, sizeof info);
        return type;
    }
    MPEG1VIDEOINFO info{};
    info.hdr = hdr;
    dshow::MediaType type(MEDIATYPE_Video, MEDIASUBTYPE_MPEG1Payload, FORMAT_MPEGVideo);
    type.SetFormat(FORMAT_MPEGVideo, &info, sizeof info);
    return type;
}

win::ComPtr<IBaseFilter> AddFilter(IGraphBuilder* graph, const CLSID& clsid, const wchar_t* name)
{
    win::ComPtr<IBaseFilter> f;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, f.PutVoid())) ||
        FAILED(graph->AddFilter(f.Get(), name)))
        return {};
    return f;
}

}  // namespace

ViewerGraph::~ViewerGraph() { Stop(); }

std::string ViewerGraph::Build(const CardRecord& card)
{
    EncoderState state;
    if (!LoadEncoderState(card.number, state))
        return "the card has no encoder state";
    size_ = {static_cast<LONG>(state.params.horzResolution), static_cast<LONG>(state.params.vertResolution)};
    HRESULT hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph_.PutVoid());
    if (FAILED(hr))
        return Failed("creating the filter graph", hr);

    const FilterRole role = card.personality.deviceType == 3 ? FilterRole::Capture : FilterRole::Encoder;
    win::ComPtr<IBaseFilter> source = BindCardFilter(card, role);
    if (!source || FAILED(hr = graph_->AddFilter(source.Get(), L"Card")))
        return "the card's stream filter does not bind";
    win::ComPtr<IBaseFilter> demux = AddFilter(graph_.Get(), testbed::kClsidMpeg2Demultiplexer, L"MPEG-2 Demultiplexer");
    decoder_ = AddFilter(graph_.Get(), testbed::kClsidCorvaleDecoder, L"MPEG Video Decoder");
    // Wine's GDI renderer by name: the default one (VMR-7) presents through Direct3D, which a
    // screen grab does not see.
    win::ComPtr<IBaseFilter> renderer = AddFilter(graph_.Get(), CLSID_VideoRenderer, L"Video Renderer");
    if (!demux || !decoder_ || !renderer)
        return "the demultiplexer, decoder or video renderer is not registered";

    win::ComPtr<IPin> stream = FirstPin(source.Get(), PINDIR_OUTPUT);
    win::ComPtr<IPin> demuxIn = FirstPin(demux.Get(), PINDIR_INPUT);
    if (!stream || !demuxIn || FAILED(hr = graph_->ConnectDirect(stream.Get(), demuxIn.Get(), nullptr)))
        return Failed("connecting the card's stream to the demultiplexer", hr);
    win::ComPtr<IMpeg2Demultiplexer> dmx;
    if (FAILED(hr = demux.As(dmx)))
        return Failed("IMpeg2Demultiplexer", hr);
    dshow::MediaType video = VideoType(state);
    win::ComPtr<IPin> videoOut;
    if (FAILED(hr = dmx->CreateOutputPin(&video, const_cast<LPWSTR>(L"Video"), videoOut.Put())))
        return Failed("creating the demultiplexer's video output", hr);
    win::ComPtr<IMPEG2StreamIdMap> map;
    if (FAILED(hr = videoOut->QueryInterface(IID_IMPEG2StreamIdMap, map.PutVoid())) ||
        FAILED(hr = map->MapStreamId(0xE0, MPEG2_PROGRAM_ELEMENTARY_STREAM, 0, 0)))
        return Failed("mapping stream 0xE0 to the video output", hr);
    if (FAILED(hr = graph_->ConnectDirect(videoOut.Get(), FirstPin(decoder_.Get(), PINDIR_INPUT).Get(), nullptr)))
        return Failed("connecting the decoder", hr);
    if (FAILED(hr = graph_->ConnectDirect(FirstPin(decoder_.Get(), PINDIR_OUTPUT).Get(),
                                          FirstPin(renderer.Get(), PINDIR_INPUT).Get(), nullptr)))
        return Failed("connecting the video renderer", hr);
    return {};
}

std::string ViewerGraph::Start(const CardRecord& card, HWND owner)
{
    Stop();
    std::string error = Build(card);
    HRESULT hr = S_OK;
    if (error.empty() && (FAILED(hr = graph_.As(control_)) || FAILED(hr = graph_->QueryInterface(IID_IVideoWindow, window_.PutVoid()))))
        error = Failed("the graph's control interfaces", hr);
    if (error.empty()) {
        window_->put_Owner(reinterpret_cast<OAHWND>(owner));
        window_->put_WindowStyle(WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
        window_->SetWindowPosition(0, 0, size_.cx, size_.cy);
        window_->put_Visible(OATRUE);
        // The card is a live source that cannot cue: the graph runs without a first picture.
        if (FAILED(hr = control_->Run()))
            error = Failed("running the graph", hr);
    }
    if (!error.empty())
        Stop();
    return error;
}

void ViewerGraph::Stop()
{
    if (control_)
        control_->Stop();
    if (window_) {
        window_->put_Visible(OAFALSE);
        window_->put_Owner(0);
    }
    control_.Reset();
    window_.Reset();
    decoder_.Reset();
    graph_.Reset();
}

long ViewerGraph::PicturesDecoded() const
{
    win::ComPtr<IDecoderStillImage> still;
    LONG n = -1;
    if (decoder_ && SUCCEEDED(decoder_->QueryInterface(__uuidof(IDecoderStillImage), still.PutVoid())))
        still->GetPicturesDecoded(&n);
    return n;
}

}  // namespace vcap

// The preview layouts behind the device's stream: a software demultiplexer whose video goes to
// a decoder and the video window and whose sound goes to the audio renderer, with tees where
// the recording takes its copy.
#include "CaptureGraph.h"
#include "dshowbase/MediaType.h"
#include "CapturePins.h"

#include "DeviceFilters.h"
#include "FilterClasses.h"
#include "MpegTypes.h"
#include "PinFinders.h"
#include "Trace.h"

#include <uuids.h>

#include <cstdio>

namespace capture {
namespace {

constexpr ULONG kVideoStreamId = 0xE0;
constexpr ULONG kPcmStreamId = 0xBD;
constexpr ULONG kMpegAudioStreamId = 0xC0;


}  // namespace

HRESULT CaptureGraph::TeeAhead(ComPtr<IPin>& pin, const wchar_t* name, ComPtr<IBaseFilter>& tee)
{
    const bool infinite = settings_.tee == 1;
    ComPtr<IBaseFilter> added;
    HRESULT hr = graph_.AddFilterByClsid(infinite ? media::kClsidInfinitePinTee : media::kClsidSmartTee, name, added.Put());
    if (FAILED(hr)) {
        host_.ReportError(infinite ? kTextInfiniteTeeNotAdded : kTextSmartTeeNotAdded, hr);
        return hr;
    }
    if (FAILED(hr = ConnectToFreeInput(graph_.Graph(), added.Get(), pin.Get()))) {
        host_.ReportError(infinite ? kTextInfiniteTeeNotConnected : kTextSmartTeeNotConnected, hr);
        return hr;
    }
    ComPtr<IPin> preview = infinite ? LastFreeOutput(added.Get()) : media::FindPinByName(added.Get(), L"Preview");
    if (!preview) {
        host_.ReportError(infinite ? kTextInfiniteTeePreviewMissing : kTextSmartTeePreviewMissing, E_FAIL);
        return E_FAIL;
    }
    tee = added;
    pin = preview;
    return S_OK;
}

HRESULT CaptureGraph::CreateDemuxPin(const wchar_t* name, const AM_MEDIA_TYPE& type, ULONG streamId, int createText,
                                     int mapMissingText, int mapText, IPin** pin)
{
    ComPtr<IMpeg2Demultiplexer> demux;
    HRESULT hr = demux_.As(demux);
    ComPtr<IPin> created;
    if (SUCCEEDED(hr))
        hr = demux->CreateOutputPin(const_cast<AM_MEDIA_TYPE*>(&type), const_cast<LPWSTR>(name), created.Put());
    if (FAILED(hr) || !created) {
        host_.ReportError(createText, hr);
        return FAILED(hr) ? hr : E_FAIL;
    }
    ComPtr<IMPEG2StreamIdMap> map;
    if (FAILED(hr = created->QueryInterface(IID_IMPEG2StreamIdMap, map.PutVoid()))) {
        host_.ReportError(mapMissingText, hr);
        return hr;
    }
    if (FAILED(hr = map->MapStreamId(streamId, MPEG2_PROGRAM_ELEMENTARY_STREAM, 0, 0))) {
        host_.ReportError(mapText, hr);
        return hr;
    }
    *pin = created.Detach();
    return S_OK;
}

HRESULT CaptureGraph::BuildLayout(bool record)
{
    HRESULT hr = S_OK;
    if (!sourcePin_) {
        if (FAILED(hr = GetStreamPin()))
            return hr;
        sourcePin_ = streamPin_;
    }
    streamPin_ = sourcePin_;
    hr = layout_ == Layout::Mpeg1 ? BuildMpeg1Layout(record) : BuildMpeg2Layout(record);
    if (FAILED(hr))
        media::DebugLine("the preview layout was not built (hr=0x%08lX)", static_cast<unsigned long>(hr));
    layoutRecords_ = SUCCEEDED(hr) && record;
    return hr;
}

HRESULT CaptureGraph::RebuildLayout(bool record)
{
    TearDownLayout();
    HRESULT hr = BuildLayout(record);
    if (FAILED(hr))
        return hr;
    ChooseClock();
    ApplyAudio();
    if (FAILED(hr = InitVideoWindow()))
        host_.ReportError(kTextVideoWindowFailed, hr);
    return hr;
}

HRESULT CaptureGraph::TearDownLayout()
{
    const HRESULT hr = graph_.RemoveDownstream(sourcePin_.Get());
    ForgetLayout();
    streamPin_ = sourcePin_;
    return hr;
}

void CaptureGraph::ForgetLayout()
{
    for (ComPtr<IPin>& pin : branchPins_)
        pin.Reset();
    sinks_.clear();
    sinkBranches_.clear();
    demux_.Reset();
    streamTee_.Reset();
    videoTee_.Reset();
    audioTee_.Reset();
    videoDecoder_.Reset();
    audioDecoder_.Reset();
    wavDest_.Reset();
    videoFlow_.Reset();
    audioFlow_.Reset();
    layoutRecords_ = false;
}

HRESULT CaptureGraph::AddDemultiplexer(const std::vector<settings::FilterChoice>& list, int stored, int failText)
{
    const settings::FilterChoice choice = DemultiplexerChoice(list, stored, layout_);
    CLSID clsid{};
    HRESULT hr = media::ClsidFromText(choice.clsid, &clsid) ? S_OK : E_INVALIDARG;
    if (SUCCEEDED(hr))
        hr = graph_.AddFilterByClsid(clsid, devices::Widen(choice.name).c_str(), demux_.Put());
    if (FAILED(hr)) {
        host_.ReportError(failText, hr);
        return hr;
    }
    graph_.demuxFilter = demux_;
    return S_OK;
}

HRESULT CaptureGraph::BuildVideoBranch(const dshow::MediaType& type, media::IDemuxOutputConfig* config, bool record)
{
    const bool mpeg1 = layout_ == Layout::Mpeg1;
    ComPtr<IPin> videoPin;
    HRESULT hr = CreateDemuxPin(L"Video", type, kVideoStreamId, kTextVideoPinNotCreated, kTextVideoPinNoMap,
                                kTextVideoMapFailed, videoPin.Put());
    if (FAILED(hr))
        return hr;
    if (config)
        config->SetOutputType(0, &type);
    branchPins_[0] = videoPin;
    ComPtr<IPin> renderPin = videoPin;
    if (separate_ && FAILED(hr = TeeAhead(renderPin, L"Infinite Pin Tee", videoTee_)))
        return hr;
    const std::optional<settings::FilterChoice> decoder =
        mpeg1 ? DecoderChoice(settings_.filters.mpeg1Decoders, settings_.decoder1)
              : DecoderChoice(settings_.filters.mpeg2Decoders, settings_.decoder);
    if (FAILED(hr = RenderVideo(renderPin.Get(), decoder, mpeg1)))
        return hr;
    if (record && separate_)
        return AddSinkOnTee(videoTee_.Get(), mpeg1 ? SinkKind::Mpeg1Video : SinkKind::DumpVideo,
                            mpeg1 ? MEDIASUBTYPE_MPEG1Video : MEDIASUBTYPE_MPEG2_VIDEO, nullptr);
    return S_OK;
}

HRESULT CaptureGraph::BuildMpeg2Layout(bool record)
{
    HRESULT hr = AddDemultiplexer(settings_.filters.mpeg2Demuxes, settings_.demuxMpeg2, kTextDemuxNotAdded);
    if (FAILED(hr))
        return hr;
    ComPtr<IPin> demuxFeed = streamPin_;
    if (!separate_) {
        if (FAILED(hr = TeeAhead(demuxFeed, L"Infinite Pin Tee", streamTee_)))
            return hr;
        graph_.teeFilter = streamTee_;
    }
    if (FAILED(hr = ConnectToFreeInput(graph_.Graph(), demux_.Get(), demuxFeed.Get()))) {
        host_.ReportError(kTextDemuxNotAdded, hr);
        return media::TraceFailure("connecting the demultiplexer", hr);
    }
    const dshow::MediaType video = Mpeg2VideoType(params_.HorzResolution, params_.VertResolution,
                                                  FrameDuration(decoderStandard_), params_.BitRate);
    if (FAILED(hr = BuildVideoBranch(video, nullptr, record)) || FAILED(hr = BuildAudioBranch(record)))
        return hr;
    if (record && !separate_)
        return AttachStreamSink(SinkKind::Stream, MEDIASUBTYPE_MPEG2_VIDEO);
    return S_OK;
}

HRESULT CaptureGraph::BuildMpeg1Layout(bool record)
{
    HRESULT hr = AddDemultiplexer(settings_.filters.mpeg1Demuxes, settings_.demuxMpeg1, kTextMpeg1DemuxNotAdded);
    if (FAILED(hr))
        return hr;
    if (FAILED(hr = ConnectToFreeInput(graph_.Graph(), demux_.Get(), streamPin_.Get()))) {
        host_.ReportError(kTextMpeg1DemuxNotConnected, hr);
        return hr;
    }
    // The demultiplexer hands the whole stream on for recording.
    if (ComPtr<IPin> passThrough = media::FindPinByType(demux_.Get(), PINDIR_OUTPUT, MEDIATYPE_Stream, GUID_NULL))
        streamPin_ = passThrough;
    // The first entry of the list is the vendor's filter, which also takes the type directly.
    ComPtr<media::IDemuxOutputConfig> config;
    const settings::FilterChoice first = settings::ChoiceAt(settings_.filters.mpeg1Demuxes, 0);
    if (DemultiplexerChoice(settings_.filters.mpeg1Demuxes, settings_.demuxMpeg1, layout_).clsid == first.clsid)
        demux_.As(media::kIidDemuxOutputConfig, config);
    const dshow::MediaType video = Mpeg1VideoType(params_.HorzResolution, params_.VertResolution,
                                                  FrameDuration(decoderStandard_), params_.BitRate);
    if (FAILED(hr = BuildVideoBranch(video, config.Get(), record)) || FAILED(hr = BuildAudioBranch(record)))
        return hr;
    if (record && !separate_)
        return AttachStreamSink(SinkKind::Mpeg1Stream, MEDIASUBTYPE_MPEG1Video);
    return S_OK;
}

HRESULT CaptureGraph::RenderVideo(IPin* pin, const std::optional<settings::FilterChoice>& decoder, bool mpeg1)
{
    IGraphBuilder* g = graph_.Graph();
    ComPtr<IBaseFilter> overlay, preferred, flow, renderer;
    HRESULT hr;
    if (settings_.overlayMixer == 1 && FAILED(hr = graph_.AddFilterByClsid(media::kClsidOverlayMixer, L"Overlay Mixer", overlay.Put())))
        host_.ReportError(kTextOverlayMixerNotAdded, hr);
    if (decoder) {
        CLSID clsid{};
        const std::wstring name = devices::Widen(decoder->name);
        hr = media::ClsidFromText(decoder->clsid, &clsid) ? graph_.AddFilterByClsid(clsid, name.c_str(), preferred.Put()) : E_INVALIDARG;
        if (FAILED(hr)) {
            if (mpeg1)
                host_.ReportError(kTextFallbackDecoderNotAdded, hr, decoder->name.c_str());
            else
                host_.LogLine("|Failed to add Video Decoder " + decoder->name);
        }
    }
    // The window-drawing renderer joins first so the render uses it: its picture is a child
    // window of the video area that screen grabs and overlays of the skin see.
    graph_.AddFilterByClsid(CLSID_VideoRenderer, L"Video Renderer", renderer.Put());
    auto render = [&]() -> HRESULT {
        flow.Reset();
        HRESULT r = graph_.AddFilterByClsid(media::kClsidFlowControl, L"Video Flow Control", flow.Put());
        if (FAILED(r)) {
            host_.ReportError(kTextFlowControlNotAdded, r);
            return r;
        }
        flow.As(encoder::kIidVideoFlowControl, videoFlow_);
        if (!mpeg1)
            return g->Render(pin);
        if (FAILED(r = ConnectToFreeInput(g, flow.Get(), pin)))
            return media::TraceFailure("connecting the video flow control", r);
        return g->Render(media::FindPinOfDirection(flow.Get(), PINDIR_OUTPUT).Get());
    };
    hr = render();
    if (FAILED(hr)) {
        media::TraceFailure("rendering the preview with the preferred decoder", hr);
        graph_.RemoveDownstream(pin);
        ComPtr<IBaseFilter> fallback;
        if (FAILED(hr = graph_.AddFilterByClsid(media::kClsidFallbackDecoder, L"Corvale MPEG 1 n 2 Decoder", fallback.Put()))) {
            host_.ReportError(kTextFallbackDecoderNotAdded, hr, "Corvale MPEG 1 n 2 Decoder");
            return hr;
        }
        if (FAILED(hr = render())) {
            host_.ReportError(kTextPreviewNotRendered, hr);
            return hr;
        }
    }
    videoDecoder_ = FindVideoDecoder(pin);
    return S_OK;
}

HRESULT CaptureGraph::BuildAudioBranch(bool record)
{
    const uint32_t rate = params_.ulAudSamplingFreq ? params_.ulAudSamplingFreq : 48000;
    const dshow::MediaType type =
        pcmAudio_ ? PcmAudioType(rate) : MpegAudioType(rate, params_.ulAudioMpegBitRate ? params_.ulAudioMpegBitRate : 224);
    ComPtr<IPin> audioPin;
    HRESULT hr = CreateDemuxPin(L"Audio", type, pcmAudio_ ? kPcmStreamId : kMpegAudioStreamId, kTextAudioPinNotCreated,
                                kTextAudioPinNoMap, kTextAudioMapFailed, audioPin.Put());
    if (FAILED(hr))
        return hr;
    branchPins_[1] = audioPin;
    ComPtr<IBaseFilter> flow;
    if (FAILED(hr = graph_.AddFilterByClsid(media::kClsidFlowControl, L"Audio Flow Control", flow.Put()))) {
        host_.ReportError(kTextFlowControlNotAdded, hr);
        return hr;
    }
    flow.As(encoder::kIidVideoFlowControl, audioFlow_);
    const bool wav = settings_.audioFormatSaveWav != 0 || pcmAudio_;
    const bool render = settings_.renderAudio == 1;
    IGraphBuilder* g = graph_.Graph();
    ComPtr<IPin> pin = audioPin;
    // The tee sits before the decoder for an MPEG audio file and after it for a WAV file.
    if (separate_ && !(wav && !pcmAudio_) && FAILED(hr = TeeAhead(pin, L"Infinite Pin Tee 2", audioTee_)))
        return hr;
    if (!pcmAudio_ && (render || (separate_ && wav))) {
        if (FAILED(hr = graph_.AddFilterByClsid(media::kClsidMpegAudioDecoder, L"MS Audio Decoder", audioDecoder_.Put())) ||
            FAILED(hr = ConnectToFreeInput(g, audioDecoder_.Get(), pin.Get())))
            return media::TraceFailure("connecting the MPEG audio decoder", hr);
        pin = media::FindPinOfDirection(audioDecoder_.Get(), PINDIR_OUTPUT);
        if (separate_ && wav && FAILED(hr = TeeAhead(pin, L"Infinite Pin Tee 2", audioTee_)))
            return hr;
    }
    if (render && FAILED(g->Render(pin.Get()))) {
        graph_.RemoveDownstream(pin.Get());
        ComPtr<IBaseFilter> renderer;
        if (FAILED(hr = ConnectToFreeInput(g, flow.Get(), pin.Get())) ||
            FAILED(hr = graph_.AddFilterByClsid(media::kClsidAudioRenderer, L"Audio Renderer", renderer.Put())) ||
            FAILED(hr = ConnectToFreeInput(g, renderer.Get(), media::FindPinOfDirection(flow.Get(), PINDIR_OUTPUT).Get())))
            media::TraceFailure("rendering the preview's sound", hr);
    }
    if (record && separate_)
        return AttachAudioSink();
    return S_OK;
}

ComPtr<IBaseFilter> CaptureGraph::FindVideoDecoder(IPin* videoPin) const
{
    // The first filter downstream of the video pin that turns it into pictures.
    ComPtr<IPin> pin = ComPtr<IPin>::Share(videoPin);
    for (int hop = 0; hop < 4 && pin; ++hop) {
        ComPtr<IBaseFilter> next = OwnerOf(PeerOf(pin.Get()).Get());
        if (!next)
            return {};
        ComPtr<IPin> out = media::FindPinOfDirection(next.Get(), PINDIR_OUTPUT);
        AM_MEDIA_TYPE mt{};
        if (out && SUCCEEDED(out->ConnectionMediaType(&mt))) {
            const bool pictures = mt.majortype == MEDIATYPE_Video && mt.subtype != MEDIASUBTYPE_MPEG2_VIDEO &&
                                  mt.subtype != MEDIASUBTYPE_MPEG1Payload && mt.subtype != MEDIASUBTYPE_MPEG1Packet;
            dshow::FreeMediaType(mt);
            if (pictures)
                return next;
        }
        pin = out;
    }
    return {};
}

}  // namespace capture

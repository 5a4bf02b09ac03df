// The playback graph: the file source, the preferred demultiplexer ("Splitter") and video
// decoder, the renderers, and the render of the source's output with a fallback decoder when
// the first render gives no usable video window.
#include "MediaPlayer.h"

#include "FilterClasses.h"
#include "PinFinders.h"
#include "Trace.h"

#include <uuids.h>

namespace media {
namespace {

// The preferred MPEG demultiplexer and the software decoder that takes extra configuration.
// Their configuration interfaces belong to their makers; the first method takes two values.
const CLSID kClsidSplitter = {0x2BE4D120, 0x6F2E, 0x4B3A, {0xB0, 0xBD, 0xE8, 0x80, 0x91, 0x72, 0x38, 0xDC}};
const IID kIidSplitterConfig = {0x2BE4D121, 0x6F2E, 0x4B3A, {0xB0, 0xBD, 0xE8, 0x80, 0x91, 0x72, 0x38, 0xDC}};
const CLSID kClsidConfigurableDecoder = {0x2BE4D140, 0x6F2E, 0x4B3A, {0xB0, 0xBD, 0xE8, 0x80, 0x91, 0x72, 0x38, 0xDC}};
const IID kIidDecoderConfig = {0x2BE4D142, 0x6F2E, 0x4B3A, {0xB0, 0xBD, 0xE8, 0x80, 0x91, 0x72, 0x38, 0xDC}};
// A splitter whose audio needs the type changer behind it.
const CLSID kClsidOlderSplitter = {0x3AE86B20, 0x7BE8, 0x11D1, {0xAB, 0xE6, 0x00, 0xA0, 0xC9, 0x05, 0xF3, 0x75}};
const CLSID kClsidAudioTypeChanger = {0x3B5A3281, 0x9487, 0x4B6C, {0x8E, 0xFD, 0x5E, 0x17, 0xA9, 0x4D, 0xD7, 0xC9}};

struct IValuePairConfig : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Configure(DWORD value, DWORD enable) = 0;
};

HRESULT ConfigureFilter(IBaseFilter* filter, const IID& iid, DWORD value, DWORD enable)
{
    win::ComPtr<IValuePairConfig> config;
    HRESULT hr = filter->QueryInterface(iid, config.PutVoid());
    if (FAILED(hr))
        return hr;
    return config->Configure(value, enable);
}


bool OffersProgramStream(IPin* pin)
{
    return PinOffersType(pin, GUID_NULL, MEDIASUBTYPE_MPEG2_PROGRAM);
}

}  // namespace

int MediaPlayer::ActiveDecoderIndex() const
{
    return m_mpeg2 ? m_options.decoder : m_options.decoder1;
}

HRESULT MediaPlayer::BuildPlaybackGraph(const std::string& file)
{
    IGraphBuilder* graph = m_graph.Graph();
    const std::wstring wide(file.begin(), file.end());
    HRESULT hr = graph->AddSourceFilter(wide.c_str(), L"Source Filter", m_source.Put());
    if (FAILED(hr))
        return TraceFailure("d_pGraph->AddSourceFilter", hr);
    win::ComPtr<IPin> out = FindPinOfDirection(m_source.Get(), PINDIR_OUTPUT);
    m_mpeg2 = out && OffersProgramStream(out.Get());

    win::ComPtr<IBaseFilter> audioDecoder;
    m_graph.AddFilterByClsid(CLSID_CMpegAudioCodec, L"MS Audio Decoder", audioDecoder.Put());
    AddPreferredDecoder();
    HRESULT splitterConfig = S_OK;
    const HRESULT splitter = AddSplitter(&splitterConfig);
    if (FAILED(splitter) || splitterConfig != S_OK) {
        win::ComPtr<IBaseFilter> changer;
        m_graph.AddFilterByClsid(kClsidAudioTypeChanger, L"Corvale Audio Type Changer", changer.Put());
    }
    AddRenderers(m_options.overlayMixer);

    hr = RenderSource();
    if (!VideoWindowUsable()) {
        const HRESULT again = RebuildWithFallbackDecoder();
        if (FAILED(hr) && FAILED(again))
            return again;
        hr = again;
    }
    return FAILED(hr) ? hr : S_OK;
}

HRESULT MediaPlayer::AddPreferredDecoder()
{
    const std::vector<DecoderEntry>& list = m_mpeg2 ? m_options.mpeg2Decoders : m_options.mpeg1Decoders;
    const int index = ActiveDecoderIndex();
    // Only an index inside the list names a decoder; anything else means "no preference".
    if (index < 0 || static_cast<size_t>(index) >= list.size())
        return S_FALSE;
    const DecoderEntry& entry = list[static_cast<size_t>(index)];
    CLSID clsid;
    if (entry.name.empty() || !ClsidFromText(entry.clsid, &clsid))
        return S_FALSE;
    m_decoderName.assign(entry.name.begin(), entry.name.end());
    win::ComPtr<IBaseFilter> decoder;
    const HRESULT hr = m_graph.AddFilterByClsid(clsid, m_decoderName.c_str(), decoder.Put());
    if (FAILED(hr))
        return hr;
    if (IsEqualCLSID(clsid, kClsidConfigurableDecoder))
        ConfigureFilter(decoder.Get(), kIidDecoderConfig, 0x40, 1);
    return S_OK;
}

HRESULT MediaPlayer::AddSplitter(HRESULT* configResult)
{
    win::ComPtr<IBaseFilter> splitter;
    const HRESULT hr = m_graph.AddFilterByClsid(kClsidSplitter, L"Splitter", splitter.Put());
    if (FAILED(hr)) {
        m_host.LogError("Failed to add Splitter to the playback graph");
        *configResult = hr;
        return hr;
    }
    *configResult = ConfigureFilter(splitter.Get(), kIidSplitterConfig, 32, 1);
    return S_OK;
}

HRESULT MediaPlayer::AddRenderers(bool overlay)
{
    win::ComPtr<IBaseFilter> filter;
    if (overlay)
        m_graph.AddFilterByClsid(CLSID_OverlayMixer, L"Overlay Mixer", filter.Put());
    m_graph.AddFilterByClsid(CLSID_DSoundRender, L"Audio Renderer", filter.Put());
    // The GDI renderer, named so that the render prefers it: it draws into the video area as a
    // plain child window, which is also what the full-screen switch and still grabs work on.
    return m_graph.AddFilterByClsid(CLSID_VideoRenderer, L"Video Renderer", filter.Put());
}

HRESULT MediaPlayer::RenderSource()
{
    win::ComPtr<IPin> out = FindPinOfDirection(m_source.Get(), PINDIR_OUTPUT);
    if (!out)
        return TraceFailure("source filter has no output pin", E_FAIL);
    const HRESULT hr = m_graph.Graph()->Render(out.Get());
    if (FAILED(hr))
        TraceFailure("d_pGraph->Render(source output)", hr);
    m_pVW.Reset();
    const HRESULT qi = m_graph.Graph()->QueryInterface(IID_IVideoWindow, m_pVW.PutVoid());
    if (FAILED(qi))
        Fail("FAILED(hr=0x%x) in d_pGraph->QueryInterface(IID_IVideoWindow, (LPVOID *) &m_pVW)\n", qi);
    return hr;
}

bool MediaPlayer::VideoWindowUsable()
{
    if (!m_pVW)
        return false;
    long visible = 0;
    return SUCCEEDED(m_pVW->get_Visible(&visible));
}

HRESULT MediaPlayer::RebuildWithFallbackDecoder()
{
    win::ComPtr<IPin> out = FindPinOfDirection(m_source.Get(), PINDIR_OUTPUT);
    if (out)
        m_graph.RemoveDownstream(out.Get());
    m_graph.RemoveUnconnectedFilters();
    win::ComPtr<IBaseFilter> filter;
    const int index = ActiveDecoderIndex();
    const size_t entries = (m_mpeg2 ? m_options.mpeg2Decoders : m_options.mpeg1Decoders).size();
    if (index >= 0 && static_cast<size_t>(index) < entries) {
        m_decoderName = L"Corvale MPEG 1 n 2 Decoder";
        m_graph.AddFilterByClsid(kClsidFallbackDecoder, m_decoderName.c_str(), filter.Put());
    }
    HRESULT splitterConfig = S_OK;
    const HRESULT splitter = AddSplitter(&splitterConfig);
    bool olderSplitter = false;
    win::ComPtr<IBaseFilter> added;
    CLSID cls;
    if (SUCCEEDED(splitter) && SUCCEEDED(m_graph.Graph()->FindFilterByName(L"Splitter", added.Put())) &&
        SUCCEEDED(added->GetClassID(&cls)))
        olderSplitter = IsEqualCLSID(cls, kClsidOlderSplitter);
    if (FAILED(splitter) || olderSplitter || splitterConfig != S_OK)
        m_graph.AddFilterByClsid(kClsidAudioTypeChanger, L"Corvale Audio Type Changer", filter.Put());
    AddRenderers(m_options.overlayMixer);
    return RenderSource();
}

}  // namespace media

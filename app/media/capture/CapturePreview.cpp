// The running preview: its clock, its window in the video area, the switches that show and
// hide it, the graph's events, and the still of the live picture.
#include "CaptureGraph.h"
#include "CapturePins.h"

#include "EncoderSetup.h"
#include "FilterClasses.h"
#include "PinFinders.h"
#include "ScrivetInterfaces.h"
#include "Trace.h"

#include <ddraw.h>
#include <uuids.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace capture {
namespace {

// A flow-control filter that once threw is not called again for the rest of the run.
std::atomic<bool> g_flowControlFailed{false};

// Where the pixels start in a packed DIB: after the header, the colour table and the masks.
DWORD PixelOffset(const BITMAPINFOHEADER& h)
{
    DWORD colours = h.biClrUsed;
    if (colours == 0 && h.biBitCount <= 8)
        colours = 1u << h.biBitCount;
    DWORD masks = 0;
    if (h.biCompression == BI_BITFIELDS && h.biSize == sizeof(BITMAPINFOHEADER))
        masks = 3 * sizeof(DWORD);
    return static_cast<DWORD>(sizeof(BITMAPFILEHEADER)) + h.biSize + masks + colours * sizeof(RGBQUAD);
}

}  // namespace

ComPtr<IReferenceClock> CaptureGraph::AudioRendererClock() const
{
    ComPtr<ICaptureGraphBuilder2> builder;
    ComPtr<IBasicAudio> audio;
    ComPtr<IReferenceClock> clock;
    if (SUCCEEDED(CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER, IID_ICaptureGraphBuilder2,
                                   builder.PutVoid())) &&
        SUCCEEDED(builder->SetFiltergraph(graph_.Graph())) &&
        SUCCEEDED(builder->FindInterface(&LOOK_DOWNSTREAM_ONLY, nullptr, capture_.Get(), IID_IBasicAudio, audio.PutVoid())) &&
        SUCCEEDED(audio.As(IID_IReferenceClock, clock)))
        return clock;
    // Builders that do not search downstream: the graph's own sound renderer.
    for (const ComPtr<IBaseFilter>& f : media::EnumerateFilters(graph_.Graph())) {
        ComPtr<IBasicAudio> a;
        if (SUCCEEDED(f.As(IID_IBasicAudio, a)) && SUCCEEDED(f.As(IID_IReferenceClock, clock)))
            return clock;
    }
    return {};
}

void CaptureGraph::ChooseClock()
{
    ComPtr<IMediaFilter> filter;
    if (FAILED(graph_.Graph()->QueryInterface(IID_IMediaFilter, filter.PutVoid())))
        return;
    ComPtr<IReferenceClock> clock;
    const bool audioClock = settings_.renderAudio == 1 && encoder::AudioRendererClocksGraph(encoder_);
    bool noDemuxClock = false;
    if (!audioClock && layout_ == Layout::Mpeg2)
        demux_.As(clock);
    if (!clock) {
        noDemuxClock = !audioClock;
        clock = AudioRendererClock();
    }
    if (noDemuxClock) {
        // Worth a message only when the graph ends up with no clock at all.
        if (clock)
            host_.LogError(kTextNoReferenceClock, E_NOINTERFACE);
        else
            host_.ReportError(kTextNoReferenceClock, E_NOINTERFACE);
    }
    const HRESULT hr = filter->SetSyncSource(clock.Get());
    if (FAILED(hr)) {
        media::TraceFailure("IMediaFilter::SetSyncSource", hr);
        filter->SetSyncSource(nullptr);
    }
}

HRESULT CaptureGraph::InitVideoWindow()
{
    media::UseOverlayWhenFullScreen(graph_.Graph());
    if (!m_pVW)
        return E_NOINTERFACE;
    HRESULT hr = m_pVW->put_Owner(reinterpret_cast<OAHWND>(host_.VideoArea()));
    if (FAILED(hr))
        return media::TraceFailure("IVideoWindow::put_Owner", hr);
    if (FAILED(hr = m_pVW->put_WindowStyle(WS_CHILD | WS_CLIPCHILDREN)))
        return media::TraceFailure("IVideoWindow::put_WindowStyle", hr);
    const RECT r = PreviewRectangle(params_.HorzResolution, params_.VertResolution);
    if (FAILED(hr = m_pVW->SetWindowPosition(r.left, r.top, r.right - r.left, r.bottom - r.top)))
        return media::TraceFailure("IVideoWindow::SetWindowPosition", hr);
    host_.PreviewPlaced(r);
    if (FAILED(hr = m_pVW->put_Visible(OATRUE)))
        return media::TraceFailure("IVideoWindow::put_Visible", hr);
    for (const ComPtr<IBaseFilter>& f : media::EnumerateFilters(graph_.Graph())) {
        ComPtr<media::IDecoderOption> option;
        if (SUCCEEDED(f.As(media::kIidDecoderOption, option)))
            option->SetOption(1);
    }
    return S_OK;
}

HRESULT CaptureGraph::SetPreviewEnabled(bool on)
{
    SetPreviewFlow(on);
    return SetPreviewVisible(on);
}

HRESULT CaptureGraph::SetPreviewFlow(bool on)
{
    if (!videoFlow_ || g_flowControlFailed)
        return g_flowControlFailed ? 1 : E_FAIL;
    try {
        BYTE mode = 0;
        HRESULT hr = videoFlow_->GetMode(&mode);
        if (FAILED(hr) || (mode != 0) == on)
            return hr;
        videoFlow_->Flush();
        hr = videoFlow_->SetMode(on ? 1 : 0);
        if (SUCCEEDED(hr))
            videoFlow_->Flush();
        return hr;
    } catch (...) {
        g_flowControlFailed = true;
        return 1;
    }
}

HRESULT CaptureGraph::SetPreviewVisible(bool visible)
{
    if (!m_pVW || visibleGuard_)
        return E_FAIL;
    visibleGuard_ = true;
    long current = OAFALSE;
    HRESULT hr = m_pVW->get_Visible(&current);
    if (SUCCEEDED(hr) && (current != OAFALSE) != visible) {
        hr = m_pVW->put_Visible(visible ? OATRUE : OAFALSE);
        host_.RedrawNow();
    }
    visibleGuard_ = false;
    return hr;
}

HRESULT CaptureGraph::HandleCaptureGraphEvents()
{
    HRESULT hr = S_OK;
    while (m_pME) {
        long code = 0;
        LONG_PTR p1 = 0, p2 = 0;
        if (m_pME->GetEvent(&code, &p1, &p2, 0) != S_OK)
            break;
        hr = m_pME->FreeEventParams(code, p1, p2);
        switch (code) {
        case EC_REPAINT:
        case EC_FULLSCREEN_LOST: host_.RedrawNow(); break;
        case EC_WINDOW_DESTROYED: host_.ShowIdlePicture(); break;
        // A writer's end of run can still report after the user's stop, and both writers of
        // separated streams report a full disk: only a running recording is stopped, once.
        case EC_WRITER_WRITE_ERROR:
            if (recording_)
                host_.WriterStopped(kTextWriteError);
            break;
        case EC_WRITER_DISK_FULL:
            if (recording_)
                host_.WriterStopped(kTextDiskFull);
            break;
        case EC_WRITER_FAT_LIMIT:
            if (recording_)
                host_.WriterStopped(kTextVolumeLimit);
            break;
        case EC_WRITER_SIZE_LIMIT:
            if (recording_)
                host_.WriterStopped(0);
            break;
        case EC_WRITER_PROGRESS:
            if (recording_)
                host_.ShowWrittenSize((static_cast<uint64_t>(static_cast<uint32_t>(p1)) << 32) | static_cast<uint32_t>(p2));
            break;
        default: break;
        }
    }
    return hr;
}

HRESULT CaptureGraph::GrabCaptureFrame(std::string* fileName)
{
    if (!videoDecoder_ || !fileName)
        return E_FAIL;
    FILTER_STATE state = State_Stopped;
    if (FAILED(videoDecoder_->GetState(20000, &state)) || state == State_Stopped)
        return E_FAIL;
    const IID& iid = StillDecoderIndex(settings_) == 1 ? media::kIidStillImageFirst : media::kIidStillImage;
    ComPtr<media::IStillImage> still;
    LONG size = 0;
    if (FAILED(videoDecoder_.As(iid, still)) || FAILED(still->GetCurrentImage(&size, nullptr)) ||
        size < static_cast<LONG>(sizeof(BITMAPINFOHEADER)))
        return E_FAIL;
    std::unique_ptr<BYTE[]> dib(new (std::nothrow) BYTE[static_cast<size_t>(size)]);
    if (!dib || FAILED(still->GetCurrentImage(&size, dib.get())))
        return E_FAIL;
    const auto& header = *reinterpret_cast<const BITMAPINFOHEADER*>(dib.get());
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfSize = static_cast<DWORD>(size) + sizeof file;
    file.bfOffBits = PixelOffset(header);
    // The temporary folder: the program's own may be read-only.
    char folder[MAX_PATH];
    const DWORD n = GetTempPathA(MAX_PATH, folder);
    if (n == 0 || n >= MAX_PATH - 12)
        return E_FAIL;
    const std::string path = std::string(folder) + "temp000.dat";
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out)
        return E_FAIL;
    const bool written = std::fwrite(&file, sizeof file, 1, out) == 1 &&
                         std::fwrite(dib.get(), static_cast<size_t>(size), 1, out) == 1;
    if (std::fclose(out) != 0 || !written) {
        DeleteFileA(path.c_str());
        return E_FAIL;
    }
    *fileName = path;
    return S_OK;
}

}  // namespace capture

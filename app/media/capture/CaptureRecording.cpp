// Recording on a running preview: the name, the start with its sinks, the clock it is timed
// by, and the stop that lets every sink finish its file before the preview runs on.
#include "CaptureGraph.h"
#include "CapturePins.h"

#include "PinFinders.h"
#include "Trace.h"

#include <mmsystem.h>

#include <algorithm>
#include <vector>

namespace capture {
namespace {

constexpr DWORD kFinishWaitMs = 2000;

}  // namespace

bool CaptureGraph::SetCaptureFileName(const std::string& name)
{
    if (name.size() > kMaxRecordingPath)
        return false;
    fileName_ = name;
    return true;
}

void CaptureGraph::MarkRecordingStarted()
{
    recording_ = true;
    startTime_ = timeGetTime();
    clockStart_ = 0;
    clock_.Reset();
    ComPtr<IMediaFilter> filter;
    if (SUCCEEDED(graph_.Graph()->QueryInterface(IID_IMediaFilter, filter.PutVoid())) &&
        SUCCEEDED(filter->GetSyncSource(clock_.Put())) && clock_ && FAILED(clock_->GetTime(&clockStart_)))
        clock_.Reset();
}

LONGLONG CaptureGraph::RecordedTime() const
{
    if (!recording_)
        return 0;
    REFERENCE_TIME now = 0;
    if (clock_ && SUCCEEDED(clock_->GetTime(&now)))
        return now - clockStart_;
    return static_cast<LONGLONG>(timeGetTime() - startTime_) * 10000;
}

HRESULT CaptureGraph::StartRecordingFromPreview()
{
    if (!graph_.Graph() || !m_pMC)
        return E_FAIL;
    m_pMC->StopWhenReady();
    state_ = kStopped;
    StopDeviceEvents();
    HRESULT hr = layout_ == Layout::Mpeg1 ? AttachMpeg1RecordingSinks() : AttachRecordingSinks();
    if (SUCCEEDED(hr)) {
        ArmEvents();
        hr = SetGraphRunning(true);
        if (FAILED(hr))
            host_.ReportError(kTextRunFailed, hr);
    }
    if (FAILED(hr)) {
        // Nothing is written: the preview runs as before, without any sink.
        m_pMC->Stop();
        state_ = kStopped;
        RemoveSinks();
        if (separate_ || !demux_)
            RebuildLayout(false);
        SetGraphRunning(true);
    }
    SetPreviewFlow(host_.PreviewOn());
    StartDeviceEvents();
    if (FAILED(hr))
        return hr;
    MarkRecordingStarted();
    state_ = kRunning;
    return S_OK;
}

HRESULT CaptureGraph::StopRecordingKeepPreview()
{
    if (!recording_)
        return S_FALSE;
    if (!m_pMC)
        return E_FAIL;
    StopDeviceEvents();
    FinishStreams();
    // A full stop: every writer gets its end of run (cut to length, tail repaired) before the
    // sinks go, and no writer is paused again with the finished file's name.
    graph_.StopGraph();
    state_ = kStopped;
    recording_ = false;
    RemoveSinks();
    const HRESULT hr = SetGraphRunning(true);
    SetPreviewFlow(host_.PreviewOn());
    StartDeviceEvents();
    return hr;
}

void CaptureGraph::FinishStreams()
{
    // A graph stopped mid-picture leaves a last picture no player decodes whole. The device's
    // outputs that can end their stream finish the picture in hand and end it, and the graph
    // stops once every sink has had the end of the stream (sinks stop first, so anything
    // still on its way to them would be lost).
    std::vector<ComPtr<IAMStreamControl>> controls;
    std::vector<ComPtr<IPin>> frontier{sourcePin_};
    for (int depth = 0; depth < 3 && !frontier.empty(); ++depth) {
        std::vector<ComPtr<IPin>> upstream;
        for (const ComPtr<IPin>& pin : frontier) {
            ComPtr<IAMStreamControl> control;
            if (pin && SUCCEEDED(pin->QueryInterface(IID_IAMStreamControl, control.PutVoid()))) {
                controls.push_back(control);
                continue;
            }
            for (const ComPtr<IPin>& input : media::EnumeratePins(OwnerOf(pin.Get()).Get())) {
                PIN_DIRECTION d = PINDIR_OUTPUT;
                if (SUCCEEDED(input->QueryDirection(&d)) && d == PINDIR_INPUT)
                    if (ComPtr<IPin> peer = PeerOf(input.Get()))
                        upstream.push_back(peer);
            }
        }
        frontier = std::move(upstream);
    }
    if (controls.empty())
        return;
    // Each sink's end of stream comes through on its own while the graph's counting is off.
    if (m_pME)
        m_pME->CancelDefaultHandling(EC_COMPLETE);
    for (const ComPtr<IAMStreamControl>& control : controls)
        control->StopAt(nullptr, FALSE, 0);
    std::vector<IBaseFilter*> waiting;
    for (const ComPtr<IBaseFilter>& sink : sinks_)
        waiting.push_back(sink.Get());
    const DWORD start = GetTickCount();
    while (!waiting.empty() && m_pME && GetTickCount() - start < kFinishWaitMs) {
        long code = 0;
        LONG_PTR p1 = 0, p2 = 0;
        if (m_pME->GetEvent(&code, &p1, &p2, 20) != S_OK)
            continue;
        if (code == EC_COMPLETE)
            std::erase(waiting, reinterpret_cast<IBaseFilter*>(p2));
        m_pME->FreeEventParams(code, p1, p2);
    }
    if (!waiting.empty())
        media::DebugLine("%u recording sink(s) did not see the end of the stream", static_cast<unsigned>(waiting.size()));
    if (m_pME)
        m_pME->RestoreDefaultHandling(EC_COMPLETE);
}

}  // namespace capture

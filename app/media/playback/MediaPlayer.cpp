#include "MediaPlayer.h"

#include "PinFinders.h"
#include "PlaybackRules.h"
#include "Trace.h"
#include "Volume.h"

#include <amvideo.h>
#include <evcode.h>

#include <cstdio>

namespace media {
namespace {

// How far a seek is nudged off the pointed time so the renderer always gets a new picture.
constexpr std::int64_t kSeekNudge = 1;
constexpr DWORD kPauseWaitMs = 1000;

}  // namespace

MediaPlayer::~MediaPlayer()
{
    if (m_graph.Graph())
        CloseFile();
}

HRESULT MediaPlayer::Fail(const char* text, HRESULT hr)
{
    char formatted[512];
    std::snprintf(formatted, sizeof formatted, text, static_cast<unsigned>(hr));
    DebugLine("%s", formatted);
    m_host.ShowFailure(formatted);
    return hr;
}

int MediaPlayer::OpenFile(const std::string& file)
{
    if (m_graph.Graph() || IsOpen())
        CloseFile();
    m_state = kStopped;
    m_level = 0;
    // Kept from the start so the title names the file while the graph comes up.
    m_fileName = file.substr(0, MAX_PATH);
    const HRESULT hr = PlayFile(m_fileName);
    if (FAILED(hr)) {
        DebugLine("playback of %s failed (0x%08lX)", file.c_str(), static_cast<unsigned long>(hr));
        CloseFile();
        m_host.ShowText(PlayerText::kCannotPlay, file);
        return 0;
    }
    InvalidateRect(m_hWndApp, nullptr, FALSE);
    return 1;
}

HRESULT MediaPlayer::PlayFile(const std::string& file)
{
    InvalidateRect(m_hWndApp, nullptr, FALSE);
    HRESULT hr = m_graph.CreateGraph();
    if (FAILED(hr))
        return hr;
    if (FAILED(hr = BuildPlaybackGraph(file)))
        return hr;
    m_graph.RemoveUnconnectedFilters();
    if (FAILED(hr = QueryGraphInterfaces()))
        return hr;
    TestAudioOnly();
    ReadDurations();

    if (!m_audioOnly) {
        hr = m_pVW->put_Owner(reinterpret_cast<OAHWND>(GetDlgItem(m_hWndApp, IDC_VIDEO)));
        if (FAILED(hr))
            return Fail("FAILED(hr=0x%x) in m_pVW->put_Owner((OAHWND) GetDlgItem(m_hWndApp, IDC_VIDEO))\n", hr);
        hr = m_pVW->put_WindowStyle(WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
        if (FAILED(hr))
            return Fail("FAILED(hr=0x%x) in m_pVW->put_WindowStyle(WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN)\n", hr);
    }
    hr = m_pME->SetNotifyWindow(reinterpret_cast<OAHWND>(m_hWndApp), WM_GRAPHNOTIFY, 0);
    if (FAILED(hr))
        return Fail("FAILED(hr=0x%x) in m_pME->SetNotifyWindow((OAHWND) m_hWndApp, WM_GRAPHNOTIFY, 0)\n", hr);

    SetLevel(m_options.audioLevel);
    if (m_options.mute)
        SetMuted(true);
    ReadPictureSize(file);
    if (!m_audioOnly && FAILED(hr = InitVideoWindow(1, 1)))
        return Fail("FAILED(hr=0x%x) in InitVideoWindow(1, 1)\n", hr);

    ShowWindow(m_hWndApp, SW_SHOW);
    UpdateWindow(m_hWndApp);
    SetForegroundWindow(m_hWndApp);
    SetFocus(m_hWndApp);
    UpdateTitle();
    if (FAILED(hr = m_graph.RunGraph()))
        return Fail("FAILED(hr=0x%x) in RunGraph()\n", hr);
    m_state = kRunning;
    InvalidateRect(m_hWndApp, nullptr, FALSE);
    SetThreadExecutionState(ES_CONTINUOUS | ES_DISPLAY_REQUIRED);
    return S_OK;
}

HRESULT MediaPlayer::QueryGraphInterfaces()
{
    IGraphBuilder* g = m_graph.Graph();
    HRESULT hr;
    if (FAILED(hr = g->QueryInterface(IID_IMediaControl, m_pMC.PutVoid())))
        return Fail("FAILED(hr=0x%x) in d_pGraph->QueryInterface(IID_IMediaControl, (void * *) &m_pMC)\n", hr);
    if (FAILED(hr = g->QueryInterface(IID_IMediaEventEx, m_pME.PutVoid())))
        return Fail("FAILED(hr=0x%x) in d_pGraph->QueryInterface(IID_IMediaEventEx, (void * *) &m_pME)\n", hr);
    if (FAILED(hr = g->QueryInterface(IID_IMediaSeeking, m_pMS.PutVoid())))
        return Fail("FAILED(hr=0x%x) in d_pGraph->QueryInterface(IID_IMediaSeeking, (void * *) &m_pMS)\n", hr);
    if (FAILED(hr = g->QueryInterface(IID_IVideoWindow, m_pVW.PutVoid())))
        return Fail("FAILED(hr=0x%x) in d_pGraph->QueryInterface(IID_IVideoWindow, (void * *) &m_pVW)\n", hr);
    if (FAILED(hr = g->QueryInterface(IID_IBasicVideo, m_pBV.PutVoid())))
        return Fail("FAILED(hr=0x%x) in d_pGraph->QueryInterface(IID_IBasicVideo, (void * *) &m_pBV)\n", hr);

    // A DirectDraw renderer keeps drawing when the picture goes full screen.
    UseOverlayWhenFullScreen(g);
    if (FAILED(hr = g->QueryInterface(IID_IBasicAudio, m_pBA.PutVoid())))
        return Fail("FAILED(hr=0x%x) in d_pGraph->QueryInterface(IID_IBasicAudio, (void * *) &m_pBA)\n", hr);
    return S_OK;
}

void MediaPlayer::TestAudioOnly()
{
    m_audioOnly = true;
    if (!m_pVW || !m_pBV)
        return;
    long visible = 0;
    const HRESULT hr = m_pVW->get_Visible(&visible);
    if (SUCCEEDED(hr) || hr != E_NOINTERFACE) {
        m_audioOnly = false;
        if (FAILED(hr))
            m_host.ShowText(PlayerText::kVisibilityFailed, {});
    }
}

void MediaPlayer::ReadDurations()
{
    m_durationFrames = 0;
    m_duration = 0;
    LONGLONG value = 0;
    if (SUCCEEDED(m_pMS->SetTimeFormat(&TIME_FORMAT_FRAME)) && SUCCEEDED(m_pMS->GetDuration(&value)))
        m_durationFrames = value;
    m_pMS->SetTimeFormat(&TIME_FORMAT_MEDIA_TIME);
    if (SUCCEEDED(m_pMS->GetDuration(&value)))
        m_duration = value;
    REFTIME frameSeconds = 0;
    std::int64_t frameTime = 0;
    if (!m_audioOnly && m_pBV && SUCCEEDED(m_pBV->get_AvgTimePerFrame(&frameSeconds)))
        frameTime = static_cast<std::int64_t>(frameSeconds * 10000000.0 + 0.5);
    m_unitsPerFrame = media::UnitsPerFrame(m_durationFrames, m_duration, frameTime);
}

void MediaPlayer::PauseResume()
{
    // After the end of a file without looping the graph is gone: nothing to pause.
    if (m_state == kClosed || !m_pMC)
        return;
    if (m_state != kStopped && m_state != kPaused) {
        m_pMC->Pause();
        m_state = kPaused;
    } else {
        m_pMC->Run();
        m_state = kRunning;
    }
    InvalidateRect(m_hWndApp, nullptr, FALSE);
    UpdateTitle();
}

void MediaPlayer::ReleaseInterfaces()
{
    m_pMC.Reset();
    m_pME.Reset();
    m_pMS.Reset();
    m_pVW.Reset();
    m_pBV.Reset();
    m_pBA.Reset();
    m_source.Reset();
}

void MediaPlayer::CloseFile()
{
    Close(false);
}

void MediaPlayer::Close(bool atEnd)
{
    const bool wasOpen = m_graph.Graph() != nullptr || IsOpen();
    LeaveFullScreen();
    m_graph.StopGraph();
    m_closing = true;
    m_state = kStopped;
    if (m_pVW) {
        m_pVW->SetWindowPosition(0, 0, 0, 0);
        m_pVW->put_Visible(OAFALSE);
        m_pVW->put_Owner(0);
    }
    if (m_pME)
        m_pME->SetNotifyWindow(0, 0, 0);
    ReleaseInterfaces();
    // The graph itself goes too: its source filter holds the file open, and the next file must
    // not find the old chain in its graph.
    m_graph.DestroyGraph();
    m_decoderName.clear();
    m_lVideoWidth = m_lVideoHeight = -1;
    m_pictureWidth = m_pictureHeight = -1;
    m_duration = m_durationFrames = 0;
    m_fileName.clear();
    m_audioOnly = false;
    m_state = kClosed;
    m_closing = false;
    InvalidateRect(m_hWndApp, nullptr, FALSE);
    // ES_CONTINUOUS alone clears the continuous display request made when playback started.
    SetThreadExecutionState(ES_CONTINUOUS);
    UpdateTitle();
    if (wasOpen)
        m_host.PlaybackClosed(atEnd);
}

void MediaPlayer::SetLevel(int level)
{
    if (m_pBA)
        m_pBA->put_Volume(LevelToVolume(level));
    m_level = level;
}

void MediaPlayer::SetMuted(bool muted)
{
    if (muted) {
        if (m_pBA)
            m_pBA->put_Volume(kSilentVolume);
        m_level = kMutedLevel;
    } else {
        SetLevel(m_options.audioLevel);
    }
    UpdateTitle();
}

std::int64_t MediaPlayer::Position() const
{
    LONGLONG position = 0;
    if (!m_pMS || FAILED(m_pMS->GetCurrentPosition(&position)))
        return -1;
    return position;
}

HRESULT MediaPlayer::SetPositions(std::int64_t position)
{
    // The graph goes through Stopped for the jump and comes back in its state: seeking a paused
    // or running graph leaves Wine's GStreamer splitter unable to stop later, and a paused graph
    // cues the new picture anyway when it pauses again.
    OAFilterState state = State_Stopped;
    m_pMC->GetState(kPauseWaitMs, &state);
    if (state != State_Stopped)
        m_pMC->Stop();
    LONGLONG target = position;
    const HRESULT hr = m_pMS->SetPositions(&target, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
    if (state == State_Paused)
        m_pMC->Pause();
    else if (state == State_Running)
        m_pMC->Run();
    return hr;
}

HRESULT MediaPlayer::SetPositionWithRetry(std::int64_t target, bool seek)
{
    if (!m_pMS || !m_pMC)
        return E_FAIL;
    LONGLONG current = 0;
    m_pMS->GetCurrentPosition(&current);
    HRESULT hr = SetPositions(target);
    if (SUCCEEDED(hr))
        return hr;
    // Some splitters refuse an exact frame boundary: try once more a little further on.
    const std::int64_t again = seek ? NudgeAgain(target, current, m_duration, kSeekNudge)
                                    : StepTarget(target, target >= current ? 1 : -1, m_unitsPerFrame, m_duration);
    hr = SetPositions(again);
    return FAILED(hr) ? TraceFailure("m_pMS->SetPositions", hr) : hr;
}

HRESULT MediaPlayer::SeekTo(std::int64_t tenths)
{
    if (!m_pMS)
        return E_FAIL;
    LONGLONG current = 0;
    m_pMS->GetCurrentPosition(&current);
    return SetPositionWithRetry(SeekTarget(tenths, current, m_duration, kSeekNudge), true);
}

HRESULT MediaPlayer::SeekToTime(std::int64_t position)
{
    if (!m_pMS || !m_pMC)
        return E_FAIL;
    if (position < 0)
        position = 0;
    if (m_duration > 0 && position > m_duration)
        position = m_duration;
    const HRESULT hr = SetPositions(position);
    return FAILED(hr) ? TraceFailure("m_pMS->SetPositions", hr) : hr;
}

HRESULT MediaPlayer::Step(int frames)
{
    if (!m_pMS || !m_pMC || m_state == kClosed)
        return E_FAIL;
    if (m_state != kPaused) {
        m_pMC->Pause();
        OAFilterState state;
        m_pMC->GetState(kPauseWaitMs, &state);
        m_state = kPaused;
        UpdateTitle();
    }
    LONGLONG current = 0;
    m_pMS->GetCurrentPosition(&current);
    return SetPositionWithRetry(StepTarget(current, frames, m_unitsPerFrame, m_duration), false);
}

HRESULT MediaPlayer::HandleGraphEvents()
{
    long code = 0;
    LONG_PTR param1 = 0, param2 = 0;
    HRESULT hr = S_OK;
    while (m_pME && (hr = m_pME->GetEvent(&code, &param1, &param2, 0)) == S_OK) {
        // Freed at once: closing the file below releases the event interface.
        m_pME->FreeEventParams(code, param1, param2);
        if (code == EC_COMPLETE) {
            // A file without any duration would end again at once: looping it only spins.
            if (!m_options.playLoop || m_duration <= 0) {
                Close(true);
                return S_OK;
            }
            m_graph.StopGraph();
            SeekTo(0);
            if (FAILED(hr = m_graph.RunGraph()))
                return hr;
            m_state = kRunning;
            UpdateTitle();
        } else if (code == EC_REPAINT || code == EC_FULLSCREEN_LOST) {
            InvalidateRect(GetDlgItem(m_hWndApp, IDC_VIDEO), nullptr, FALSE);
        }
    }
    return hr == E_ABORT ? S_OK : hr;
}

void MediaPlayer::UpdateTitle()
{
    if (!m_hWndApp)
        return;
    const std::string title = IsOpen() ? PlaybackTitle(m_fileName, m_audioOnly, Muted(), m_state == kPaused)
                                       : m_host.AppTitle();
    SetWindowTextA(m_hWndApp, title.c_str());
}

}  // namespace media

// The player's video window: its place in the video area, full screen and back, and the
// picture size read from the file itself.
#include "MediaPlayer.h"

#include "PlaybackRules.h"
#include "Trace.h"

#include <win/Handle.h>

namespace media {

HRESULT MediaPlayer::ReadPictureSize(const std::string& file)
{
    win::Handle handle(CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle)
        return E_FAIL;
    unsigned char data[kPictureSizeProbeBytes];
    DWORD count = 0;
    if (!ReadFile(handle.Get(), data, sizeof data, &count, nullptr))
        return E_FAIL;
    long width = 0, height = 0;
    if (!FindSequenceHeaderSize(data, count, &width, &height))
        return E_FAIL;
    m_pictureWidth = width;
    m_pictureHeight = height;
    return S_OK;
}

HRESULT MediaPlayer::InitVideoWindow(long num, long den)
{
    if (!m_pBV || !m_pVW)
        return E_NOINTERFACE;
    HRESULT hr = m_pBV->GetVideoSize(&m_lVideoWidth, &m_lVideoHeight);
    if (FAILED(hr))
        return Fail("FAILED(hr=0x%x) in m_pBV->GetVideoSize(&m_lVideoWidth, &m_lVideoHeight)\n", hr);
    if (m_pictureWidth < 0 || m_pictureHeight < 0) {
        m_pictureWidth = m_lVideoWidth;
        m_pictureHeight = m_lVideoHeight;
    }
    const VideoPlacement p = PlaceVideoWindow(m_pictureWidth, m_pictureHeight, num, den);
    hr = m_pVW->SetWindowPosition(p.left, p.top, p.width, p.height);
    if (FAILED(hr))
        return Fail("FAILED(hr=0x%x) in m_pVW->SetWindowPosition(rect.left + 1, rect.top + 1, lW, lH)\n", hr);
    m_videoRect = {p.left - 1, p.top - 1, p.left - 1 + p.width, p.top - 1 + p.height};
    return S_OK;
}

void MediaPlayer::PlaceVideoAgain()
{
    if (!m_pVW || m_audioOnly || IsFullScreen() || m_videoRect.right <= m_videoRect.left)
        return;
    m_pVW->SetWindowPosition(m_videoRect.left + 1, m_videoRect.top + 1, m_videoRect.right - m_videoRect.left,
                             m_videoRect.bottom - m_videoRect.top);
}

bool MediaPlayer::IsFullScreen() const
{
    long mode = OAFALSE;
    return m_pVW && SUCCEEDED(m_pVW->get_FullScreenMode(&mode)) && mode == OATRUE;
}

int MediaPlayer::ToggleFullScreen()
{
    // Nothing to show full screen while closing or for a file without pictures.
    if (m_closing || !m_pVW || m_audioOnly)
        return 0;
    long lMode = OAFALSE;
    HRESULT hr = m_pVW->get_FullScreenMode(&lMode);
    if (FAILED(hr)) {
        Fail("FAILED(hr=0x%x) in m_pVW->get_FullScreenMode(&lMode)\n", hr);
        return 0;
    }
    if (lMode == OATRUE) {
        LeaveFullScreen();
        return 1;
    }
    OAHWND hDrain = 0;
    if (FAILED(hr = m_pVW->get_MessageDrain(&hDrain))) {
        Fail("FAILED(hr=0x%x) in m_pVW->get_MessageDrain((OAHWND *) &hDrain)\n", hr);
        return 0;
    }
    m_savedDrain = hDrain;
    // Keys and mouse clicks on the full-screen picture go to the main window.
    if (FAILED(hr = m_pVW->put_MessageDrain(reinterpret_cast<OAHWND>(m_hWndApp)))) {
        Fail("FAILED(hr=0x%x) in m_pVW->put_MessageDrain((OAHWND) m_hWndApp)\n", hr);
        return 0;
    }
    lMode = OATRUE;
    if (FAILED(hr = m_pVW->put_FullScreenMode(lMode))) {
        m_pVW->put_MessageDrain(m_savedDrain);
        Fail("FAILED(hr=0x%x) in m_pVW->put_FullScreenMode(lMode)\n", hr);
        return 0;
    }
    return 1;
}

void MediaPlayer::LeaveFullScreen()
{
    if (!IsFullScreen())
        return;
    HRESULT hr = m_pVW->put_FullScreenMode(OAFALSE);
    if (FAILED(hr))
        TraceFailure("m_pVW->put_FullScreenMode(OAFALSE)", hr);
    // Not every renderer puts its window back where it was: place it over the video area again.
    PlaceVideoAgain();
    if (FAILED(hr = m_pVW->put_MessageDrain(m_savedDrain)))
        Fail("FAILED(hr=0x%x) in m_pVW->put_MessageDrain((OAHWND) hDrain)\n", hr);
    if (FAILED(hr = m_pVW->SetWindowForeground(-1)))
        Fail("FAILED(hr=0x%x) in m_pVW->SetWindowForeground(-1)\n", hr);
    // A paused renderer keeps no picture to repaint with: cue the same position once more.
    if (m_state == kPaused)
        SeekToTime(Position());
    UpdateWindow(m_hWndApp);
    SetFocus(m_hWndApp);
}

}  // namespace media

#pragma once
// The player: one media file in its own filter graph, shown in the main window's video area
// (control 1000) or full screen, with volume, pause, seek, frame steps, looping at the end of
// the file and a still of the current picture. Runs on the window's thread; the window hands it
// the graph's notification message and reaches the user only through `PlayerHost`.
#include "MediaGraph.h"
#include "PlayerHost.h"

#include <win/ComPtr.h>

#include <windows.h>
#include <dshow.h>

#include <cstdint>
#include <string>
#include <vector>

namespace media {

class MediaPlayer {
public:
    // Graph notification message posted to the main window.
    static constexpr UINT WM_GRAPHNOTIFY = 1037;
    static constexpr int IDC_VIDEO = 1000;

    enum State { kStopped = 0, kPaused = 1, kRunning = 2, kClosed = 3 };

    MediaPlayer(PlayerHost& host, HWND hWndApp) : m_host(host), m_hWndApp(hWndApp) {}
    ~MediaPlayer();
    MediaPlayer(const MediaPlayer&) = delete;
    MediaPlayer& operator=(const MediaPlayer&) = delete;

    void SetWindow(HWND hWndApp) { m_hWndApp = hWndApp; }
    PlayerOptions& Options() { return m_options; }

    // Opens and runs `file`; on failure everything is closed again and the user told. 1 on
    // success, 0 on failure.
    int OpenFile(const std::string& file);
    HRESULT PlayFile(const std::string& file);
    // Pause when running, run when paused or stopped; nothing when closed.
    void PauseResume();
    // Stops and destroys the graph (the file is released), leaves full screen, and releases
    // the display. Safe to call when nothing is open.
    void CloseFile();

    int ToggleFullScreen();
    void LeaveFullScreen();
    bool IsFullScreen() const;

    void SetLevel(int level);
    // Silences the audio, or gives it `AudioLevel` again.
    void SetMuted(bool muted);
    bool Muted() const { return m_level == kMutedLevel; }

    // Seeks to `tenths` (tenths of a second from the start).
    HRESULT SeekTo(std::int64_t tenths);
    // Seeks to `position` in 100-ns units, as it is (start, end, skips).
    HRESULT SeekToTime(std::int64_t position);
    // Pauses (unless paused) and moves by `frames` frames.
    HRESULT Step(int frames);
    HRESULT HandleGraphEvents();
    void UpdateTitle();
    // Writes the current picture as a bitmap file "<folder>temp000.dat"; the path is returned.
    HRESULT GrabPlaybackFrame(const std::string& folder, std::string* fileName);
    // Reads the picture size from the first 4 KiB of `file`; E_FAIL leaves it unchanged.
    HRESULT ReadPictureSize(const std::string& file);
    // Places the video window in the video area for the picture scaled by num/den.
    HRESULT InitVideoWindow(long num, long den);
    // Puts the video window over the video area again (the window moved or was resized).
    void PlaceVideoAgain();

    State PlayState() const { return m_state; }
    bool IsOpen() const { return !m_fileName.empty(); }
    const std::string& FileName() const { return m_fileName; }
    bool AudioOnly() const { return m_audioOnly; }
    bool IsMpeg2() const { return m_mpeg2; }
    std::int64_t Duration() const { return m_duration; }
    std::int64_t DurationFrames() const { return m_durationFrames; }
    std::int64_t UnitsPerFrame() const { return m_unitsPerFrame; }
    // Current position in 100-ns units; -1 when nothing is open.
    std::int64_t Position() const;
    long PictureWidth() const { return m_pictureWidth; }
    long PictureHeight() const { return m_pictureHeight; }
    long VideoWidth() const { return m_lVideoWidth; }
    long VideoHeight() const { return m_lVideoHeight; }
    // The placement last given to the video window (without the border offsets).
    RECT VideoRect() const { return m_videoRect; }
    IGraphBuilder* Graph() const { return m_graph.Graph(); }

private:
    static constexpr int kMutedLevel = -10000;

    void Close(bool atEnd);
    HRESULT BuildPlaybackGraph(const std::string& file);
    HRESULT AddPreferredDecoder();
    HRESULT AddSplitter(HRESULT* configResult);
    HRESULT AddRenderers(bool overlay);
    HRESULT RenderSource();
    HRESULT RebuildWithFallbackDecoder();
    bool VideoWindowUsable();
    HRESULT QueryGraphInterfaces();
    void TestAudioOnly();
    void ReadDurations();
    void ReleaseInterfaces();
    HRESULT Fail(const char* text, HRESULT hr);
    HRESULT SetPositions(std::int64_t position);
    HRESULT SetPositionWithRetry(std::int64_t target, bool seek);
    int ActiveDecoderIndex() const;
    HRESULT RendererImage(std::vector<BYTE>& dib);
    HRESULT ShownImage(std::vector<BYTE>& dib);

    PlayerHost& m_host;
    HWND m_hWndApp;
    PlayerOptions m_options;
    MediaGraph m_graph;

    win::ComPtr<IMediaControl> m_pMC;
    win::ComPtr<IMediaEventEx> m_pME;
    win::ComPtr<IMediaSeeking> m_pMS;
    win::ComPtr<IVideoWindow> m_pVW;
    win::ComPtr<IBasicVideo> m_pBV;
    win::ComPtr<IBasicAudio> m_pBA;
    win::ComPtr<IBaseFilter> m_source;
    std::wstring m_decoderName;

    std::string m_fileName;
    bool m_mpeg2 = false;
    bool m_audioOnly = false;
    State m_state = kClosed;
    bool m_closing = false;
    int m_level = 0;
    std::int64_t m_durationFrames = 0;
    std::int64_t m_duration = 0;
    std::int64_t m_unitsPerFrame = 0;
    long m_lVideoWidth = -1;
    long m_lVideoHeight = -1;
    long m_pictureWidth = -1;
    long m_pictureHeight = -1;
    OAHWND m_savedDrain = 0;
    RECT m_videoRect{};
};

}  // namespace media

#pragma once
// The playback mode of the main window: one media file shown in the video area. The session
// owns the player and its graph, keeps the screen awake while a file is open, and gives the
// player the settings it plays with; the window routes the player's notifications and
// commands here and closes the session when the window closes.
#include <memory>
#include <string>

#include "CaptureSettings.h"
#include "MediaPlayer.h"
#include "SessionHost.h"

namespace shell {

class PlaybackSession : private media::PlayerHost {
public:
    PlaybackSession(SessionHost& host, const settings::CaptureSettings& settings);
    ~PlaybackSession();
    PlaybackSession(const PlaybackSession&) = delete;
    PlaybackSession& operator=(const PlaybackSession&) = delete;

    // Opens `path` and plays it with the current settings; false (the user told) when it
    // cannot be played. Nothing opens once the session is closed.
    bool Open(const std::string& path);
    // Closes the file being played, if any; the session stays usable.
    void CloseFile();
    bool Playing() const { return m_player && m_player->IsOpen(); }
    // A file is open and running, not paused.
    bool Running() const { return Playing() && m_player->PlayState() == media::MediaPlayer::kRunning; }

    // The graph's notification message.
    void OnGraphNotify();
    // Seek commands, in 100-ns units or tenths of a second.
    void SeekTenths(std::int64_t tenths);
    void SeekToStart();
    void SeekToEnd();
    // A quarter of the duration forward (beyond the end: the end) or back (not below 0); a paused
    // playback then steps 3 frames forward to show the new picture.
    void SkipQuarter(bool forward);
    // Frame steps, only while paused.
    void StepFrames(int frames);
    void PauseResume();
    void SetLevel(int level);
    void SetMuted(bool muted);
    void SetLoop(bool loop);
    void ToggleFullScreen();
    void LeaveFullScreen();
    // The window moved or changed size: the video window follows the video area.
    void PlaceVideo();
    // Current position in 100-ns units, -1 when nothing plays.
    std::int64_t Position() const;

    media::MediaPlayer* Player() { return m_player.get(); }

    // Closes the file being played, if any; nothing plays afterwards. A second call does
    // nothing.
    void Close();
    bool Closed() const { return m_closed; }

private:
    std::string AppTitle() override;
    void ShowFailure(const std::string& text) override;
    void ShowText(media::PlayerText text, const std::string& argument) override;
    void LogError(const std::string& text) override;
    void PlaybackClosed(bool atEnd) override;

    media::PlayerOptions Options() const;

    SessionHost& m_host;
    const settings::CaptureSettings& m_settings;
    std::unique_ptr<media::MediaPlayer> m_player;
    bool m_closed = false;
};

}  // namespace shell

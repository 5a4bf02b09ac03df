#pragma once
// The playback mode of the main window: one media file shown in the video area. The player
// and its graph belong here once files can be played; the window routes the player's
// notifications and commands to the session and closes it when the window closes.
#include "SessionHost.h"

namespace shell {

class PlaybackSession {
public:
    explicit PlaybackSession(SessionHost& host) : m_host(host) {}
    PlaybackSession(const PlaybackSession&) = delete;
    PlaybackSession& operator=(const PlaybackSession&) = delete;

    // Closes the file being played, if any; nothing plays afterwards. A second call does
    // nothing.
    void Close();
    bool Closed() const { return m_closed; }

private:
    SessionHost& m_host;
    bool m_closed = false;
};

}  // namespace shell

#include "PlaybackSession.h"

namespace shell {

void PlaybackSession::Close()
{
    if (m_closed)
        return;
    m_closed = true;
    m_host.TraceLine("closing: playback session closed");
}

}  // namespace shell

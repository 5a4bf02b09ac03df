#include "PlaybackSession.h"

#include "ErrorLog.h"
#include "MessageIds.h"

namespace shell {
namespace {

constexpr int kFramesPerStep = 3;

std::vector<media::DecoderEntry> Entries(const std::vector<settings::FilterChoice>& list)
{
    std::vector<media::DecoderEntry> entries;
    for (const settings::FilterChoice& choice : list)
        entries.push_back({choice.clsid, choice.name});
    return entries;
}

}  // namespace

PlaybackSession::PlaybackSession(SessionHost& host, const settings::CaptureSettings& settings)
    : m_host(host), m_settings(settings)
{
}

PlaybackSession::~PlaybackSession()
{
    Close();
}

media::PlayerOptions PlaybackSession::Options() const
{
    media::PlayerOptions o;
    o.decoder = m_settings.decoder;
    o.decoder1 = m_settings.decoder1;
    o.mpeg2Decoders = Entries(m_settings.filters.mpeg2Decoders);
    o.mpeg1Decoders = Entries(m_settings.filters.mpeg1Decoders);
    o.overlayMixer = m_settings.overlayMixer == 1;
    o.audioLevel = m_settings.audioLevel;
    o.mute = m_settings.mute == 1;
    o.playLoop = m_settings.playLoop != 0;
    return o;
}

bool PlaybackSession::Open(const std::string& path)
{
    if (m_closed)
        return false;
    if (!m_player)
        m_player = std::make_unique<media::MediaPlayer>(static_cast<media::PlayerHost&>(*this), m_host.MainWindow());
    m_player->SetWindow(m_host.MainWindow());
    m_player->Options() = Options();
    if (m_player->OpenFile(path) != 1)
        return false;
    // Entered after the open: a failed open has already left through PlaybackClosed.
    m_host.Power().Enter(PowerSuppression::kPlayback);
    return true;
}

void PlaybackSession::CloseFile()
{
    if (m_player)
        m_player->CloseFile();
    m_host.Power().Leave(PowerSuppression::kPlayback);
}

void PlaybackSession::OnGraphNotify()
{
    if (m_player)
        m_player->HandleGraphEvents();
}

void PlaybackSession::SeekTenths(std::int64_t tenths)
{
    if (Playing())
        m_player->SeekTo(tenths);
}

void PlaybackSession::SeekToStart()
{
    if (Playing())
        m_player->SeekToTime(0);
}

void PlaybackSession::SeekToEnd()
{
    if (Playing())
        m_player->SeekToTime(m_player->Duration());
}

void PlaybackSession::SkipQuarter(bool forward)
{
    if (!Playing())
        return;
    const std::int64_t quarter = m_player->Duration() / 4;
    const std::int64_t now = m_player->Position();
    std::int64_t target = forward ? now + quarter : now - quarter;
    if (target < 0)
        target = 0;
    if (target > m_player->Duration())
        target = m_player->Duration();
    m_player->SeekToTime(target);
    if (m_player->PlayState() == media::MediaPlayer::kPaused)
        m_player->Step(kFramesPerStep);
}

void PlaybackSession::StepFrames(int frames)
{
    if (Playing() && m_player->PlayState() == media::MediaPlayer::kPaused)
        m_player->Step(frames);
}

void PlaybackSession::PauseResume()
{
    if (m_player)
        m_player->PauseResume();
}

void PlaybackSession::SetLevel(int level)
{
    if (!m_player)
        return;
    m_player->Options().audioLevel = level;
    m_player->SetLevel(level);
}

void PlaybackSession::SetMuted(bool muted)
{
    if (!m_player)
        return;
    m_player->Options().audioLevel = m_settings.audioLevel;
    m_player->Options().mute = muted;
    m_player->SetMuted(muted);
}

void PlaybackSession::SetLoop(bool loop)
{
    if (m_player)
        m_player->Options().playLoop = loop;
}

void PlaybackSession::ToggleFullScreen()
{
    if (Playing())
        m_player->ToggleFullScreen();
}

void PlaybackSession::LeaveFullScreen()
{
    if (m_player)
        m_player->LeaveFullScreen();
}

void PlaybackSession::PlaceVideo()
{
    if (Playing())
        m_player->PlaceVideoAgain();
}

std::int64_t PlaybackSession::Position() const
{
    return m_player && m_player->IsOpen() ? m_player->Position() : -1;
}

void PlaybackSession::Close()
{
    if (m_closed)
        return;
    m_closed = true;
    CloseFile();
    m_player.reset();
    m_host.TraceLine("closing: playback session closed");
}

std::string PlaybackSession::AppTitle()
{
    return m_host.AppText(msg::kAppTitle);
}

void PlaybackSession::ShowFailure(const std::string& text)
{
    m_host.ShowMessage(text);
}

void PlaybackSession::ShowText(media::PlayerText text, const std::string& argument)
{
    if (text == media::PlayerText::kCannotPlay)
        ReportError(msg::kCannotPlayFile, argument.c_str());
    else
        ReportError(msg::kVisibilityTestFailed);
}

void PlaybackSession::LogError(const std::string& text)
{
    m_host.LogError(text);
}

void PlaybackSession::PlaybackClosed(bool atEnd)
{
    m_host.Power().Leave(PowerSuppression::kPlayback);
    if (atEnd)
        m_host.PlaybackEnded();
}

}  // namespace shell

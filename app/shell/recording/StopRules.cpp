#include "StopRules.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace recording {

namespace {

constexpr std::int64_t kUnitsPerSecond = 10000000;
constexpr int kTunerSource = 3;
// The watch's timeout, whatever the registry holds: at least a second, at most a day.
constexpr int kMinNoVideoSeconds = 1;
constexpr int kMaxNoVideoSeconds = 24 * 3600;

}  // namespace

StopRule StopRule::From(const settings::CaptureSettings& s)
{
    return {s.stopTime, s.setTimeHour, s.setTimeMin, s.setTimeSec};
}

void StopRule::WriteTo(settings::CaptureSettings& s) const
{
    s.stopTime = rule;
    s.setTimeHour = hours;
    s.setTimeMin = minutes;
    s.setTimeSec = seconds;
}

std::int64_t StopRule::DurationSeconds() const
{
    const auto field = [](int v) { return static_cast<std::int64_t>(std::max(v, 0)); };
    return field(hours) * 3600 + field(minutes) * 60 + field(seconds);
}

Countdown CountdownFor(const StopRule& rule)
{
    if (rule.rule != kStopAfterDuration)
        return {};
    const auto field = [](int v) { return static_cast<unsigned>(std::max(v, 0)); };
    return {field(rule.hours), field(rule.minutes), field(rule.seconds)};
}

std::string WrittenSizeText(std::uint64_t bytes)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.2f %s", static_cast<double>(bytes) / 1048576.0, "MB");
    return text;
}

StopRules::Started StopRules::OnStarted(const std::string& path, const AppliedFormat& applied)
{
    m_rule = StopRule::From(m_settings);
    m_path = path;
    m_format = applied;
    m_noVideoSeconds = std::clamp(m_settings.stopNoVideoSec, kMinNoVideoSeconds, kMaxNoVideoSeconds);
    m_recording = true;
    m_timeoutArmed = false;
    m_watching = m_rule.rule == kStopWithoutVideo;
    if (m_watching)
        m_host.StartTimer(kVideoWatchTimer, kVideoWatchMs);
    return {CountdownFor(m_rule), m_rule.SliderMaximum()};
}

std::optional<StopRules::Finished> StopRules::OnStopped()
{
    KillWatch();
    if (std::exchange(m_durationEndArmed, false))
        m_host.StopTimer(kDurationEndTimer);
    if (!m_recording)
        return std::nullopt;
    m_recording = false;
    m_autoRecordDone = true;
    return Finished{std::exchange(m_path, {}), m_format, m_rule};
}

void StopRules::KillWatch()
{
    m_watching = false;
    m_timeoutArmed = false;
    m_host.StopTimer(kVideoWatchTimer);
    m_host.StopTimer(kNoVideoTimeoutTimer);
}

bool StopRules::OnTimer(UINT_PTR id)
{
    OnTick();
    switch (id) {
    case kVideoWatchTimer: OnVideoWatch(); return true;
    case kNoVideoTimeoutTimer: OnNoVideoTimeout(); return true;
    case kAutoRecordTimer: OnAutoRecord(); return true;
    case kCopyProtectionTimer: OnCopyProtection(); return true;
    case kDurationEndTimer: return true;
    default: return false;
    }
}

void StopRules::OnTick()
{
    if (!m_recording || !m_engine.Recording())
        return;
    const std::int64_t recorded = m_engine.RecordedTime();
    m_host.ShowRecordedTime(recorded);
    if (!m_rule.StopsAfterDuration())
        return;
    const std::int64_t end = m_rule.DurationSeconds() * kUnitsPerSecond;
    if (recorded >= end) {
        m_host.StopRecording(StopReason::kDuration);
    } else if (end - recorded <= kUnitsPerSecond) {
        const std::int64_t unitsPerMs = kUnitsPerSecond / 1000;
        m_durationEndArmed = true;
        m_host.StartTimer(kDurationEndTimer, static_cast<UINT>((end - recorded + unitsPerMs - 1) / unitsPerMs));
    }
}

void StopRules::OnVideoWatch()
{
    m_host.StopTimer(kVideoWatchTimer);
    if (!m_watching)
        return;  // a tick queued before the recording stopped
    m_inWatchTick = true;
    const bool locked = m_engine.HorizontallyLocked();
    if (m_watching) {
        if (locked && m_timeoutArmed) {
            m_host.StopTimer(kNoVideoTimeoutTimer);
            m_timeoutArmed = false;
        } else if (!locked && !m_timeoutArmed) {
            m_host.StartTimer(kNoVideoTimeoutTimer, static_cast<UINT>(m_noVideoSeconds) * 1000u);
            m_timeoutArmed = true;
        }
        m_host.StartTimer(kVideoWatchTimer, kVideoWatchMs);
    }
    m_inWatchTick = false;
}

void StopRules::OnNoVideoTimeout()
{
    const bool armed = m_timeoutArmed;
    KillWatch();
    // Only a timeout that stops the recording itself leads to the wait for video; a late tick
    // after another stop must not take the window over.
    if (!armed || !m_recording || !m_engine.Running() || !m_engine.Recording())
        return;
    m_host.StopRecording(StopReason::kNoVideo);
    if (m_settings.source != kTunerSource)
        m_host.WaitForVideo();
}

void StopRules::OnAutoRecord()
{
    m_host.StopTimer(kAutoRecordTimer);
    if (!m_host.InCaptureMode() || m_engine.Recording() || !m_settings.autoRecord || m_autoRecordDone)
        return;
    // Once per input, whether or not the start succeeds.
    m_autoRecordDone = true;
    m_host.StartRecording();
}

void StopRules::OnCopyProtection()
{
    m_host.StopTimer(kCopyProtectionTimer);
    if (m_engine.CopyProtected() && m_engine.Running() && m_engine.Recording())
        m_host.StopRecording(StopReason::kCopyProtection);
}

}  // namespace recording

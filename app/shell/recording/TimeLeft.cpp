#include "TimeLeft.h"

#include <cstdio>

#include "DeviceFilters.h"
#include "WriteLimit.h"

namespace recording {

std::int64_t RecordingLimitFor(const std::string& file, std::uint64_t userLimit)
{
    scrivet::SystemVolumeFacts facts;
    const scrivet::VolumeInfo volume = scrivet::DescribeVolume(devices::Widen(file), facts);
    const std::int64_t caller = userLimit > static_cast<std::uint64_t>(INT64_MAX) ? scrivet::kNoSizeLimit
                                                                                 : static_cast<std::int64_t>(userLimit);
    const std::optional<scrivet::WriteLimit> limit = scrivet::LimitForVolume(volume, caller, facts);
    return limit ? limit->bytes : -1;
}

std::string TimeLeftText(std::uint64_t seconds)
{
    char text[48];
    std::snprintf(text, sizeof text, "%02llu:%02llu left", static_cast<unsigned long long>(seconds / 3600),
                  static_cast<unsigned long long>(seconds / 60 % 60));
    return text;
}

bool TimeLeft::Add(std::uint64_t bytes, std::uint32_t tickMs)
{
    m_samples.emplace_back(tickMs, bytes);
    while (m_samples.size() > 2 && tickMs - m_samples[1].first >= kWindowMs)
        m_samples.pop_front();
    if (m_limit < 0 || (m_refreshed && tickMs - m_lastRefresh < kRefreshMs))
        return false;
    const std::uint32_t span = tickMs - m_samples.front().first;
    const std::uint64_t written = bytes - std::min(bytes, m_samples.front().second);
    if (span < kRefreshMs || written == 0)
        return false;
    const std::uint64_t left = bytes >= static_cast<std::uint64_t>(m_limit) ? 0 : m_limit - bytes;
    // bytes per second from the window, then whole seconds left.
    const double rate = written * 1000.0 / span;
    const std::string text = TimeLeftText(static_cast<std::uint64_t>(left / rate));
    m_refreshed = true;
    m_lastRefresh = tickMs;
    if (text == m_text)
        return false;
    m_text = text;
    return true;
}

}  // namespace recording

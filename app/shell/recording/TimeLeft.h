#pragma once
// How long a recording can go on before it reaches the limit that binds it (the free space
// less the writer's reserve, the FAT file systems' 4 GiB, or the user's size limit), from the
// data rate of its last seconds.
#include <cstdint>
#include <deque>
#include <string>
#include <utility>

namespace recording {

// The bytes a recording into `file` may reach, as the writer will compute it when the run
// starts: `userLimit` is the limit the writer is given (all ones for none). -1 when the
// volume cannot say.
std::int64_t RecordingLimitFor(const std::string& file, std::uint64_t userLimit);

// "hh:mm left", hours not capped.
std::string TimeLeftText(std::uint64_t seconds);

class TimeLeft {
public:
    static constexpr std::uint32_t kWindowMs = 5000;  // the rate is measured over this much
    static constexpr std::uint32_t kRefreshMs = 1000;

    // `limitBytes` -1: no limit known, and no text.
    explicit TimeLeft(std::int64_t limitBytes = -1) : m_limit(limitBytes) {}

    // A progress report: `bytes` written in all by `tickMs`. True when the text changed (at
    // most once a second).
    bool Add(std::uint64_t bytes, std::uint32_t tickMs);
    // Empty until a second of data gives a rate.
    const std::string& Text() const { return m_text; }

private:
    std::int64_t m_limit;
    std::deque<std::pair<std::uint32_t, std::uint64_t>> m_samples;  // tick, bytes
    std::uint32_t m_lastRefresh = 0;
    bool m_refreshed = false;
    std::string m_text;
};

}  // namespace recording

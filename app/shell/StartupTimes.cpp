#include "StartupTimes.h"

#include <windows.h>

#include <cmath>
#include <cstdio>

namespace shell {

void StartupTimes::Mark(const std::string& name, double elapsedMs)
{
    // A clock that steps back (or a mark out of order) gives a phase of nothing, not less.
    const double length = elapsedMs > m_last ? elapsedMs - m_last : 0.0;
    m_phases.emplace_back(name, length);
    if (elapsedMs > m_last)
        m_last = elapsedMs;
}

std::string StartupTimes::Line() const
{
    if (m_phases.empty())
        return {};
    std::string line = "start-up:";
    char part[160];
    for (size_t i = 0; i < m_phases.size(); ++i) {
        std::snprintf(part, sizeof part, "%s %s %.0f ms", i ? "," : "", m_phases[i].first.c_str(),
                      std::round(m_phases[i].second));
        line += part;
    }
    std::snprintf(part, sizeof part, "; %.0f ms in all", std::round(m_last));
    return line + part;
}

double MillisecondsSinceProcessStart()
{
    FILETIME created{}, exited{}, kernel{}, user{}, now{};
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        return 0.0;
    GetSystemTimePreciseAsFileTime(&now);
    const auto ticks = [](const FILETIME& time) {
        return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    const unsigned long long from = ticks(created), to = ticks(now);
    return to > from ? static_cast<double>(to - from) / 10000.0 : 0.0;
}

StartupTimes& ProgramStartupTimes()
{
    static StartupTimes times;
    return times;
}

void MarkStartup(const char* phase)
{
    ProgramStartupTimes().Mark(phase, MillisecondsSinceProcessStart());
}

}  // namespace shell

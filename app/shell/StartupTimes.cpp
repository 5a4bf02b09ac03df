#include "StartupTimes.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace shell {

void StartupTimes::Mark(const std::string& name, double elapsedMs, double processorMs)
{
    // A clock that steps back (or a mark out of order) gives a phase of nothing, not less.
    const double length = elapsedMs > m_last ? elapsedMs - m_last : 0.0;
    double processor = -1;
    if (processorMs >= 0) {
        const double before = m_lastProcessor >= 0 ? m_lastProcessor : 0.0;
        processor = processorMs > before ? processorMs - before : 0.0;
        m_lastProcessor = std::max(processorMs, before);
    }
    m_phases.push_back({name, length, processor});
    if (elapsedMs > m_last)
        m_last = elapsedMs;
}

std::string StartupTimes::Line() const
{
    if (m_phases.empty())
        return {};
    std::string line = "start-up:";
    char part[200];
    for (size_t i = 0; i < m_phases.size(); ++i) {
        const Phase& phase = m_phases[i];
        std::snprintf(part, sizeof part, "%s %s %.0f ms", i ? "," : "", phase.name.c_str(), std::round(phase.ms));
        line += part;
        if (phase.processorMs >= 0) {
            std::snprintf(part, sizeof part, " (cpu %.0f)", std::round(phase.processorMs));
            line += part;
        }
    }
    std::snprintf(part, sizeof part, "; %.0f ms in all", std::round(m_last));
    line += part;
    if (m_phases.back().processorMs >= 0) {
        std::snprintf(part, sizeof part, ", cpu %.0f", std::round(m_lastProcessor));
        line += part;
    }
    return line;
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

double ProcessorMilliseconds()
{
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        return -1.0;
    const auto ticks = [](const FILETIME& time) {
        return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 10000.0;
}

StartupTimes& ProgramStartupTimes()
{
    static StartupTimes times;
    return times;
}

void MarkStartup(const char* phase)
{
    ProgramStartupTimes().Mark(phase, MillisecondsSinceProcessStart(), ProcessorMilliseconds());
    // tools/count-startup-requests.sh divides the server's request log by these lines; a
    // normal start keeps its debug output to the one summary line.
    static const bool tracePhases = GetEnvironmentVariableA("MAROVIN_STARTUP_PHASES", nullptr, 0) > 0;
    if (tracePhases)
        OutputDebugStringA((std::string("Marovin:  start-up phase: ") + phase + "\r\n").c_str());
}

}  // namespace shell

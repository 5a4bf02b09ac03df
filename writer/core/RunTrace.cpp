#include "RunTrace.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace scrivet {

namespace {

int64_t Frequency()
{
    static const int64_t frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f.QuadPart > 0 ? f.QuadPart : int64_t{1};
    }();
    return frequency;
}

}  // namespace

bool TraceEnabled()
{
    static const bool enabled = [] {
        char value[8] = {};
        const DWORD length = GetEnvironmentVariableA("SCRIVET_TRACE", value, sizeof value);
        return length > 0 && length < sizeof value && std::strcmp(value, "1") == 0;
    }();
    return enabled;
}

int64_t TraceTicks()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

double TraceMs(int64_t ticks)
{
    return static_cast<double>(ticks) * 1000.0 / static_cast<double>(Frequency());
}

void TraceLine(const char* format, ...)
{
    char line[400] = "Scrivet:  ";
    const size_t prefix = std::strlen(line);
    va_list args;
    va_start(args, format);
    std::vsnprintf(line + prefix, sizeof line - prefix - 2, format, args);
    va_end(args);
    std::strcat(line, "\r\n");
    OutputDebugStringA(line);
}

const char* PhaseName(WriterPhase phase)
{
    switch (phase) {
    case WriterPhase::Idle: return "idle";
    case WriterPhase::Waiting: return "waiting for data";
    case WriterPhase::Queuing: return "queuing progress";
    case WriterPhase::Writing: return "writing";
    case WriterPhase::Finishing: return "finishing the file";
    }
    return "?";
}

}  // namespace scrivet

#include "StatusText.h"

#include <cstdio>

namespace shell {

ClockTime ClockFromEngineTime(std::int64_t time100ns)
{
    const std::uint64_t tenths = time100ns > 0 ? static_cast<std::uint64_t>(time100ns) / 1000000 : 0;
    ClockTime clock;
    clock.hours = static_cast<unsigned>(tenths / 36000);
    clock.minutes = static_cast<unsigned>((tenths / 600) % 60);
    clock.seconds = static_cast<unsigned>((tenths / 10) % 60);
    clock.tenths = static_cast<unsigned>(tenths % 10);
    return clock;
}

std::string FormatClock(unsigned hours, unsigned minutes, unsigned seconds)
{
    char text[40];
    std::snprintf(text, sizeof text, "%02u:%02u:%02u", hours, minutes, seconds);
    return text;
}

std::string VersionLine(const std::string& version)
{
    return "Version: " + version;
}

std::string FormatFileSize(std::uint64_t bytes)
{
    constexpr std::uint64_t kGigabyte = 1073741824;
    char text[64];
    if (bytes > kGigabyte || bytes > 0xFFFFFFFFull)
        std::snprintf(text, sizeof text, "%.2f %s", static_cast<double>(bytes / 1048576) / 1024.0, "GB");
    else
        std::snprintf(text, sizeof text, "%.2f %s", static_cast<double>(bytes / 1024) / 1024.0, "MB");
    return text;
}

std::string RecentHoverText(const std::string& path, std::uint64_t bytes, const std::string& duration)
{
    const size_t slash = path.find_last_of('\\');
    const std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
    return file + "\r\nSize: " + FormatFileSize(bytes) + "     Duration: " + duration;
}

}  // namespace shell

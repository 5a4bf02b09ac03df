#pragma once
// The texts of the status display and of the recent-recording hover information: clocks,
// file sizes and the version line. Plain text rules, no window.
#include <cstdint>
#include <string>

namespace shell {

struct ClockTime {
    unsigned hours = 0;
    unsigned minutes = 0;
    unsigned seconds = 0;
    unsigned tenths = 0;

    // The time in tenths of a second, the unit the display compares ticks by.
    unsigned Position() const { return hours * 36000 + minutes * 600 + seconds * 10 + tenths; }
};

// An engine time (recorded time or playback position, 100-ns units) as clock fields.
ClockTime ClockFromEngineTime(std::int64_t time100ns);
// "hh:mm:ss".
std::string FormatClock(unsigned hours, unsigned minutes, unsigned seconds);
// The information line of the version state: "Version: <version>".
std::string VersionLine(const std::string& version);

// "%.2f GB" above 1 GiB (or beyond 32 bits), else "%.2f MB", from whole kilo- or megabytes.
std::string FormatFileSize(std::uint64_t bytes);
// What the pointer resting on a recent-recording thumbnail shows: the file part of the path,
// then "Size: <size>     Duration: <duration>".
std::string RecentHoverText(const std::string& path, std::uint64_t bytes, const std::string& duration);

}  // namespace shell

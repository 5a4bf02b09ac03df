#include "PlaybackRules.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace media {
namespace {

constexpr long kAreaWidth = 352;
constexpr long kAreaHeight = 288;
constexpr std::int64_t kUnitsPerTenth = 1000000;
constexpr std::int64_t kDefaultFrameUnits = 400000;

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool ContainsAny(const std::string& path, std::initializer_list<const char*> parts)
{
    const std::string lower = Lower(path);
    for (const char* part : parts)
        if (lower.find(part) != std::string::npos)
            return true;
    return false;
}

std::int64_t Cap(std::int64_t value, std::int64_t duration)
{
    return duration > 0 ? std::min(value, duration) : value;
}

}  // namespace

VideoPlacement PlaceVideoWindow(long width, long height, long num, long den)
{
    if (den == 0)
        den = 1;
    const long h = num * height / den;
    const long w = num * width / den;
    VideoPlacement p;
    if (w == 160 && (h == 144 || h == 112)) {
        p.width = 160;
        p.height = h;
    } else {
        p.width = kAreaWidth;
        p.height = (h == 144 || h == 288 || h == 576) ? 288 : h <= 240 ? 240 : 264;
    }
    p.left = (p.width >= kAreaWidth ? 0 : (kAreaWidth - p.width) / 2) + 1;
    p.top = (p.height >= kAreaHeight ? 0 : (kAreaHeight - p.height) / 2) + 1;
    return p;
}

bool FindSequenceHeaderSize(const unsigned char* data, std::size_t count, long* width, long* height)
{
    if (data == nullptr || count < 13)
        return false;
    for (std::size_t i = 0; i + 13 <= count; ++i) {
        const unsigned char* p = data + i;
        if (p[0] != 0 || p[1] != 0 || p[2] != 1 || p[3] != 0xB3)
            continue;
        *width = p[4] * 16L + p[5] / 16;
        *height = (p[5] % 16) * 256L + p[6];
        return true;
    }
    return false;
}

bool IsAcceptedMediaPath(const std::string& path)
{
    return ContainsAny(path, {".mpg", ".m1v", ".m2v", ".wav", ".mpa", ".mp3", ".avi", ".wmv", ".mpeg"});
}

bool IsMpegVideoPath(const std::string& path)
{
    return ContainsAny(path, {".mpg", ".m1v", ".m2v", ".mpeg"});
}

std::int64_t UnitsPerFrame(std::int64_t frames, std::int64_t units, std::int64_t avgTimePerFrame)
{
    if (frames > 0 && units > 0 && units / frames > 0)
        return units / frames;
    if (avgTimePerFrame > 0)
        return avgTimePerFrame;
    return kDefaultFrameUnits;
}

std::int64_t SeekTarget(std::int64_t tenths, std::int64_t current, std::int64_t duration, std::int64_t nudge)
{
    const std::int64_t pointed = Cap(std::max<std::int64_t>(tenths, 0) * kUnitsPerTenth, duration);
    return NudgeAgain(pointed, current, duration, nudge);
}

std::int64_t NudgeAgain(std::int64_t target, std::int64_t current, std::int64_t duration, std::int64_t nudge)
{
    if (current >= target)
        return std::max<std::int64_t>(target - nudge, duration > 0 ? 1 : 0);
    return Cap(target + nudge, duration);
}

std::int64_t StepTarget(std::int64_t current, std::int64_t frames, std::int64_t unitsPerFrame, std::int64_t duration)
{
    return Cap(std::max<std::int64_t>(current + frames * unitsPerFrame, 0), duration);
}

std::string PlaybackTitle(const std::string& path, bool audioOnly, bool muted, bool paused)
{
    const size_t slash = path.find_last_of("\\/");
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return name + " [" + (audioOnly ? "Audio" : "Video") + "] " + (muted ? "(Muted)" : "") + (paused ? "(Paused)" : "");
}

std::string MediaSizeText(std::uint64_t bytes, bool allowGigabytes)
{
    char text[64];
    if (allowGigabytes && bytes > 1073741824ull)
        std::snprintf(text, sizeof text, "%.2f %s", static_cast<double>(bytes / 1048576) / 1024.0, "GB");
    else
        std::snprintf(text, sizeof text, "%.2f %s", static_cast<double>(bytes / 1024) / 1024.0, "MB");
    return text;
}

}  // namespace media

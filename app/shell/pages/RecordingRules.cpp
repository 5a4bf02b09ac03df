#include "RecordingRules.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "FileSizeLimit.h"

namespace pages {
namespace {

// Whether byte `index` of `text` is the second byte of a double-byte character.
bool IsTrailByte(const std::string& text, std::size_t index, const LeadByteTest& isLeadByte)
{
    bool trail = false;
    for (std::size_t i = 0; i < index; ++i)
        trail = !trail && isLeadByte && isLeadByte(static_cast<unsigned char>(text[i]));
    return trail;
}

std::string Lower(std::string text)
{
    if (!text.empty())
        CharLowerBuffA(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

}  // namespace

LimitSelection SelectionFor(std::uint64_t fileLimit, std::uint64_t customLimit)
{
    LimitSelection selection;
    if (fileLimit == recording::kFat32Limit)
        selection.listIndex = 1;
    else if (fileLimit == recording::kDvdDiskLimit)
        selection.listIndex = 2;
    else if (fileLimit == recording::kVcdDiskLimit)
        selection.listIndex = 3;
    else if (fileLimit == customLimit && customLimit != settings::kNoLimit && customLimit != 0)
        selection.custom = true;
    else
        selection.resetStored = fileLimit != settings::kNoLimit;
    return selection;
}

CustomSizeShown CustomSizeText(std::uint64_t bytes)
{
    CustomSizeShown shown;
    char text[64];
    if (bytes > 0x40000000ull) {
        std::snprintf(text, sizeof text, "%.2f", static_cast<double>(bytes) / static_cast<double>(recording::kGigabyte));
        shown.unit = recording::kUnitGigabytes;
    } else {
        std::snprintf(text, sizeof text, "%.2f", static_cast<double>(bytes) / static_cast<double>(recording::kMegabyte));
        shown.unit = recording::kUnitMegabytes;
    }
    shown.text = text;
    return shown;
}

LimitWords SplitLimit(std::uint64_t bytes)
{
    return {static_cast<std::uint32_t>(bytes >> 32), static_cast<std::uint32_t>(bytes & 0xFFFFFFFFull)};
}

void ApplyStopRule(const StopRuleEdits& edits, settings::CaptureSettings& s)
{
    s.stopTime = edits.choice == kStopAfterDuration ? 0 : edits.choice == kStopWithoutVideo ? 2 : 1;
    s.setTimeHour = std::clamp(edits.hours, 0, 23);
    s.setTimeMin = std::clamp(edits.minutes, 0, 59);
    s.setTimeSec = std::clamp(edits.seconds, 0, 59);
    s.stopNoVideoSec = std::clamp(edits.noVideoSeconds, 0, 999);
}

StopRuleEdits StopRuleOf(const settings::CaptureSettings& s)
{
    StopRuleEdits edits;
    edits.choice = s.stopTime == 0 ? kStopAfterDuration : s.stopTime == 2 ? kStopWithoutVideo : kStopManually;
    edits.hours = std::clamp(s.setTimeHour, 0, 23);
    edits.minutes = std::clamp(s.setTimeMin, 0, 59);
    edits.seconds = std::clamp(s.setTimeSec, 0, 59);
    edits.noVideoSeconds = std::clamp(s.stopNoVideoSec, 0, 999);
    return edits;
}

std::optional<std::string> ParentFolder(const std::string& path, const LeadByteTest& isLeadByte)
{
    for (std::size_t i = path.size(); i-- > 0;)
        if (path[i] == '\\' && !IsTrailByte(path, i, isLeadByte))
            return i == 0 ? std::nullopt : std::optional<std::string>(path.substr(0, i));
    return std::nullopt;
}

std::string WithTrailingBackslash(const std::string& path, const LeadByteTest& isLeadByte)
{
    if (!path.empty() && path.back() == '\\' && !IsTrailByte(path, path.size() - 1, isLeadByte))
        return path;
    return path + "\\";
}

bool IsJapaneseLeadByte(unsigned char c)
{
    return IsDBCSLeadByteEx(932, c) != FALSE;
}

bool FolderExists(const std::string& path)
{
    if (path.empty())
        return false;
    char previous[MAX_PATH * 2] = {};
    const DWORD previousLength = GetCurrentDirectoryA(sizeof previous, previous);
    const std::string wanted = WithTrailingBackslash(path, IsJapaneseLeadByte);
    bool exists = false;
    if (SetCurrentDirectoryA(wanted.c_str())) {
        char current[MAX_PATH * 2] = {};
        const DWORD length = GetCurrentDirectoryA(sizeof current, current);
        if (length > 0 && length < sizeof current)
            exists = Lower(WithTrailingBackslash(current, IsJapaneseLeadByte)) == Lower(wanted);
    }
    if (previousLength > 0 && previousLength < sizeof previous)
        SetCurrentDirectoryA(previous);
    return exists;
}

}  // namespace pages

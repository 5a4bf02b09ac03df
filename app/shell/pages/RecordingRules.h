#pragma once
// The rules of the recording page without a window: which size-limit choice a stored limit
// is, the custom size's text, the stop rule taken from the page, and the recording folder's
// parent and existence test.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "CaptureSettings.h"

namespace pages {

// What the page shows for the stored limits.
struct LimitSelection {
    bool custom = false;  // the custom-size button (with its edit and unit box)
    int listIndex = 0;    // the entry of the choice list
    bool resetStored = false;  // the stored limit was none of the choices: it becomes "no limit"
};
// 0xFFFFFFFF, 4700000000 and 800000000 are list entries 1 to 3; a limit equal to a real
// custom limit is the custom size; anything else is entry 0 (no fixed limit).
LimitSelection SelectionFor(std::uint64_t fileLimit, std::uint64_t customLimit);

// The custom size as the edit shows it: "%.2f" in GB above 0x40000000 bytes, else in MB.
struct CustomSizeShown {
    std::string text;
    int unit = 0;  // recording::kUnitGigabytes or kUnitMegabytes
};
CustomSizeShown CustomSizeText(std::uint64_t bytes);

// The two 32-bit settings words of a 64-bit limit.
struct LimitWords {
    std::uint32_t high = 0, low = 0;
};
LimitWords SplitLimit(std::uint64_t bytes);

// The stop rule as the page holds it.
enum StopChoice { kStopManually = 0, kStopAfterDuration = 1, kStopWithoutVideo = 2 };
struct StopRuleEdits {
    StopChoice choice = kStopManually;
    int hours = 0, minutes = 0, seconds = 0;
    int noVideoSeconds = 0;
};
// "StopTime" 0 after the duration (minutes and seconds cut to 59), 2 without video, else 1;
// the three times and the count, each kept inside the range its edit offers.
void ApplyStopRule(const StopRuleEdits& edits, settings::CaptureSettings& s);
StopRuleEdits StopRuleOf(const settings::CaptureSettings& s);

using LeadByteTest = std::function<bool(unsigned char)>;
// The text before the last backslash that is not the second byte of a double-byte
// character; nothing when there is none.
std::optional<std::string> ParentFolder(const std::string& path, const LeadByteTest& isLeadByte);
// The path with a trailing backslash unless it ends in one already (a backslash that is the
// second byte of a double-byte character does not count).
std::string WithTrailingBackslash(const std::string& path, const LeadByteTest& isLeadByte);
// Lead bytes of the Japanese code page, the double-byte set the folder rules are tested with.
bool IsJapaneseLeadByte(unsigned char c);

// Whether `path` names an existing folder: the path can be made the current directory and
// then reads back as itself (case ignored). The current directory is restored.
bool FolderExists(const std::string& path);

}  // namespace pages

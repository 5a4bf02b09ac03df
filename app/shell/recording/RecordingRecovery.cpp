#include "RecordingRecovery.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

#include <win/Handle.h>

#include "CustomTemplate.h"
#include "DeviceFilters.h"
#include "MessagePlaces.h"
#include "RecentDetails.h"
#include "RunRecovery.h"

namespace recording {

namespace {

constexpr char kSection[] = "Capture";
constexpr char kEntry[] = "UnfinishedRecording";
constexpr DWORD kSummaryReach = 256 * 1024;

bool StartCodeAt(const std::uint8_t* p, std::uint8_t id)
{
    return p[0] == 0 && p[1] == 0 && p[2] == 1 && p[3] == id;
}

// The system clock reference of the pack header at `p` (its start code included), in 90 kHz
// units; MPEG-2 packs have '01' where MPEG-1 packs have '0010'.
std::uint64_t PackClock(const std::uint8_t* p, bool mpeg2)
{
    const std::uint8_t* b = p + 4;
    if (mpeg2)
        return (std::uint64_t{(b[0] >> 3) & 7u} << 30) | (std::uint64_t{b[0] & 3u} << 28) |
               (std::uint64_t{b[1]} << 20) | (std::uint64_t{b[2] >> 3} << 15) | (std::uint64_t{b[2] & 3u} << 13) |
               (std::uint64_t{b[3]} << 5) | (b[4] >> 3);
    return (std::uint64_t{(b[0] >> 1) & 7u} << 30) | (std::uint64_t{b[1]} << 22) | (std::uint64_t{b[2] >> 1} << 15) |
           (std::uint64_t{b[3]} << 7) | (b[4] >> 1);
}

std::optional<std::uint64_t> FirstPackClock(const std::uint8_t* p, std::size_t size, bool mpeg2)
{
    for (std::size_t i = 0; i + 14 <= size; ++i)
        if (StartCodeAt(p + i, 0xBA))
            return PackClock(p + i, mpeg2);
    return std::nullopt;
}

std::optional<std::uint64_t> LastPackClock(const std::uint8_t* p, std::size_t size, bool mpeg2)
{
    for (std::size_t i = size >= 14 ? size - 14 + 1 : 0; i-- > 0;)
        if (StartCodeAt(p + i, 0xBA))
            return PackClock(p + i, mpeg2);
    return std::nullopt;
}

bool ReadAt(const win::Handle& file, std::uint64_t offset, std::vector<std::uint8_t>& bytes)
{
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(offset);
    DWORD got = 0;
    if (!SetFilePointerEx(file.Get(), to, nullptr, FILE_BEGIN) ||
        !ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr))
        return false;
    bytes.resize(got);
    return true;
}

}  // namespace

void MarkRecordingUnfinished(const framework::ProfileStore& store, const std::string& path)
{
    store.WriteString(kSection, kEntry, path.c_str());
}

void MarkRecordingFinished(const framework::ProfileStore& store)
{
    store.DeleteEntry(kSection, kEntry);
}

settings::RecentEntry RecoveredEntry(const std::string& path, const std::uint8_t* head, std::size_t headSize,
                                     const std::uint8_t* tail, std::size_t tailSize)
{
    AppliedFormat format;
    const bool mpeg2 = headSize > 4 && (head[4] & 0xC0) == 0x40;
    format.captureMode = mpeg2 ? 2 : 1;
    for (std::size_t i = 0; i + 12 <= headSize; ++i) {
        if (!StartCodeAt(head + i, 0xB3))
            continue;
        const std::uint8_t* s = head + i + 4;
        format.width = (s[0] << 4) | (s[1] >> 4);
        format.height = ((s[1] & 0x0F) << 8) | s[2];
        format.bitRate = static_cast<int>(((s[4] << 10) | (s[5] << 2) | (s[6] >> 6)) * 400u);
        break;
    }
    std::string duration = "(recovered)";
    const std::optional<std::uint64_t> first = FirstPackClock(head, headSize, mpeg2);
    const std::optional<std::uint64_t> last = LastPackClock(tail, tailSize, mpeg2);
    if (first && last && *last >= *first) {
        const std::uint64_t seconds = (*last - *first) / 90000;
        char text[48];
        std::snprintf(text, sizeof text, "%02u:%02u:%02u (recovered)", static_cast<unsigned>(seconds / 3600),
                      static_cast<unsigned>(seconds / 60 % 60), static_cast<unsigned>(seconds % 60));
        duration = text;
    }
    settings::RecentEntry entry = RecentEntryFor(path, format, duration);
    // What the stream does not say is left blank rather than guessed.
    entry.vbr.clear();
    entry.samplingRate.clear();
    entry.audioBitrate.clear();
    return entry;
}

std::string RecoveredSizeText(std::uint64_t bytes)
{
    char text[48];
    if (bytes >= (1ull << 30))
        std::snprintf(text, sizeof text, "%.2f GB", static_cast<double>(bytes) / (1ull << 30));
    else
        std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / (1ull << 20));
    return text;
}

std::string RecoveryMessage(const std::string& text, const RecoveryReport& report)
{
    return FillPlaces(text, {report.path, RecoveredSizeText(report.length)});
}

RecoveryReport RecoverUnfinishedRecording(const framework::ProfileStore& store)
{
    RecoveryReport report;
    report.path = store.GetString(kSection, kEntry, "");
    if (report.path.empty())
        return report;
    // Forgotten first: a file that makes the recovery itself fail is not tried at every start.
    MarkRecordingFinished(store);
    const scrivet::Recovery recovery = scrivet::RecoverRunFile(devices::Widen(report.path));
    report.length = recovery.length;
    switch (recovery.outcome) {
    case scrivet::Recovery::kMissing:
        report.kind = RecoveryReport::kForgotten;
        report.logLine = "unfinished recording " + report.path + " no longer exists";
        return report;
    case scrivet::Recovery::kNotAStream:
        report.kind = RecoveryReport::kForgotten;
        report.logLine = "unfinished recording " + report.path + " is not a program stream; left as it is";
        return report;
    case scrivet::Recovery::kFailed:
        report.kind = RecoveryReport::kForgotten;
        report.logLine = "unfinished recording " + report.path + " could not be repaired (error " +
                         std::to_string(recovery.error) + ")";
        return report;
    case scrivet::Recovery::kRecovered:
        break;
    }
    report.kind = RecoveryReport::kRecovered;
    win::Handle file(CreateFileA(report.path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    const std::uint64_t reach = std::min<std::uint64_t>(recovery.length, kSummaryReach);
    std::vector<std::uint8_t> head(reach), tail(reach);
    if (!file || !ReadAt(file, 0, head) || !ReadAt(file, recovery.length - reach, tail)) {
        head.clear();
        tail.clear();
    }
    report.entry = RecoveredEntry(report.path, head.data(), head.size(), tail.data(), tail.size());
    return report;
}

}  // namespace recording

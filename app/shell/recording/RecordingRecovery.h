#pragma once
// A recording that was running when the program or the machine died. Its file name is kept in
// the settings while it runs; the next start repairs the file in place (the writer's own
// recovery: whole sectors of data only, ending on the last whole picture) and lists it.
#include <cstddef>
#include <cstdint>
#include <string>

#include <framework/ProfileStore.h>

#include "RecentRecordings.h"

namespace recording {

void MarkRecordingUnfinished(const framework::ProfileStore& store, const std::string& path);
void MarkRecordingFinished(const framework::ProfileStore& store);

struct RecoveryReport {
    enum Kind { kNothing, kRecovered, kForgotten };
    Kind kind = kNothing;
    std::string path;
    std::uint64_t length = 0;
    settings::RecentEntry entry;  // kRecovered: how the recent list shows it
    std::string logLine;          // kForgotten: why
};

// Recovers the recording the settings name, if any, and forgets the name.
RecoveryReport RecoverUnfinishedRecording(const framework::ProfileStore& store);

// The list's details of a recovered program stream, from its first and last bytes: format,
// picture size and video rate of the first sequence header, and the time between the first
// and the last pack, marked "(recovered)".
settings::RecentEntry RecoveredEntry(const std::string& path, const std::uint8_t* head, std::size_t headSize,
                                     const std::uint8_t* tail, std::size_t tailSize);

// "%.1f MB" (or "%.2f GB" from 1 GiB on) of a byte count, for the user's message.
std::string RecoveredSizeText(std::uint64_t bytes);
// The user's message: `text` with its first "%s" the file and its second the recovered size.
std::string RecoveryMessage(const std::string& text, const RecoveryReport& report);

}  // namespace recording

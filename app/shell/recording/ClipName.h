#pragma once
// Names of new recordings: the numbered clip files "clip<n>.mpg" in the recording folder, and
// the one path limit the whole recording chain shares (the engine and the writer take the
// name as it is; a name that does not fit is refused here, never cut).
#include <windows.h>

#include "CaptureRules.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace recording {

// The longest recording name: the capture engine's, which is the writer's.
using capture::kMaxRecordingPath;

// Shift-JIS (code page 932) lead bytes: the Japanese multi-byte character type that decides
// whether a trailing 0x5C is a backslash or the second byte of a character.
bool IsJapaneseLeadByte(unsigned char c);
// The folder with one trailing backslash; a 0x5C that ends a double-byte character is no
// backslash. An empty folder stays empty.
std::string WithTrailingBackslash(const std::string& folder);

// The number after the first four characters of a file name ("clip12.mpg" -> 12), 0 when no
// digits follow; numbers beyond the int range count as that range's top.
long long ClipNumberOf(const std::string& fileName);
// One above the highest clip number among the names (1 for none).
long long NextClipNumber(const std::vector<std::string>& fileNames);

// The folder listing behind the clip numbering, replaceable for tests.
class FolderListing {
public:
    // Names (without folder) of the entries matching a pattern such as "C:\rec\clip*.*".
    virtual std::vector<std::string> Names(const std::string& pattern) const = 0;

protected:
    ~FolderListing() = default;
};

// The file system's listing (FindFirstFile / FindNextFile).
class SystemFolderListing final : public FolderListing {
public:
    std::vector<std::string> Names(const std::string& pattern) const override;
};

struct NameChoice {
    enum Outcome { kNamed, kCancelled, kRefused };
    Outcome outcome = kCancelled;
    std::string name;    // the file name when named
    std::string reason;  // why it was refused, for the user
};

// A refusal with its message for a name of `length` characters.
NameChoice TooLongName(std::size_t length);

// What NextClipName needs from the window: the folder browser for a missing recording
// folder, and storing the chosen folder in the settings (which are then saved).
struct ClipFolderHost {
    std::function<std::optional<std::string>()> askFolder;
    std::function<void(const std::string&)> storeFolder;
};

// The next clip name in `recordingFolder`: asks for the folder when it is empty (cancelled
// when the user cancels), then "<folder>\clip<n>.mpg" one above the highest clip number.
NameChoice NextClipName(const std::string& recordingFolder, const FolderListing& listing,
                        const ClipFolderHost& host);

}  // namespace recording

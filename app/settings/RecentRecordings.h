#pragma once
// The list of the last recordings with their format details, section "Recent": entry n is
// "file<n>" and its seven detail values, numbered from 1, newest first.
#include <array>
#include <functional>
#include <string>

#include <framework/ProfileStore.h>

namespace settings {

struct RecentEntry {
    std::string path;
    std::string streamFormat;   // "sf"
    std::string resolution;     // "res"
    std::string vbr;            // "vbr"
    std::string videoBitrate;   // "br"
    std::string samplingRate;   // "asr"
    std::string audioBitrate;   // "abr"
    std::string duration;       // "dur"
};

class RecentRecordings {
public:
    static constexpr int kCount = 4;
    static constexpr size_t kMaxPath = 260;

    RecentRecordings(std::string section = "Recent", std::string entryFormat = "file%d",
                     int displayLength = 30);

    void Read(const framework::ProfileStore& store);
    // Deletes the whole section, then writes the entries that have a path.
    void Write(const framework::ProfileStore& store) const;

    // Adds a recording as entry 1. The path is made absolute; 260 characters or more are
    // refused. An entry of the same file (compared case-insensitively) moves to the top
    // with the new details; otherwise the last entry falls off.
    bool Add(RecentEntry entry);
    // Removes entries whose file is empty or missing, from the last to the first; true when
    // anything was removed.
    bool RemoveMissing(const std::function<bool(const std::string&)>& fileExists);

    const RecentEntry& At(int index) const { return entries_[static_cast<size_t>(index)]; }
    bool HasEntry(int index) const { return !entries_[static_cast<size_t>(index)].path.empty(); }
    int DisplayLength() const { return displayLength_; }

private:
    std::string ValueName(int number) const;

    std::string section_;
    std::string entryFormat_;
    int displayLength_;
    std::array<RecentEntry, kCount> entries_;
};

// "<path without .mpg/.mpeg>.bmp", or the path with ".bmp" appended for other extensions.
std::string ThumbnailPathFor(const std::string& recordingPath);
// The picture a recent-recording thumbnail shows: the bitmap beside the recording when it can
// be opened, else that bitmap made from the recording by `write` (recording, bitmap path),
// else `placeholder`.
std::string ThumbnailPicture(const std::string& recordingPath, const std::string& placeholder,
                             const std::function<bool(const std::string&)>& canOpen,
                             const std::function<bool(const std::string&, const std::string&)>& write);
// Case-insensitive comparison of two paths, '/' and '\' alike.
bool SamePath(const std::string& a, const std::string& b);

}  // namespace settings

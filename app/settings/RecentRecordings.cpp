#include "RecentRecordings.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace settings {
namespace {

struct DetailValue {
    const char* suffix;
    std::string RecentEntry::*member;
};

constexpr DetailValue kDetails[] = {
    {"sf", &RecentEntry::streamFormat},  {"res", &RecentEntry::resolution},
    {"vbr", &RecentEntry::vbr},          {"br", &RecentEntry::videoBitrate},
    {"asr", &RecentEntry::samplingRate}, {"abr", &RecentEntry::audioBitrate},
    {"dur", &RecentEntry::duration},
};

char FoldPathChar(char c)
{
    if (c == '/')
        return '\\';
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool EndsWithNoCase(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() &&
           SamePath(text.substr(text.size() - tail.size()), tail);
}

}  // namespace

RecentRecordings::RecentRecordings(std::string section, std::string entryFormat, int displayLength)
    : section_(std::move(section)), entryFormat_(std::move(entryFormat)),
      displayLength_(displayLength)
{
}

std::string RecentRecordings::ValueName(int number) const
{
    char name[64];
    std::snprintf(name, sizeof name, entryFormat_.c_str(), number);
    return name;
}

void RecentRecordings::Read(const framework::ProfileStore& store)
{
    for (int i = 0; i < kCount; ++i) {
        const std::string name = ValueName(i + 1);
        RecentEntry& entry = entries_[static_cast<size_t>(i)];
        entry.path = store.GetString(section_.c_str(), name.c_str(), "");
        for (const DetailValue& detail : kDetails)
            entry.*detail.member =
                store.GetString(section_.c_str(), (name + detail.suffix).c_str(), "");
    }
}

void RecentRecordings::Write(const framework::ProfileStore& store) const
{
    store.DeleteSection(section_.c_str());
    for (int i = 0; i < kCount; ++i) {
        const RecentEntry& entry = entries_[static_cast<size_t>(i)];
        if (entry.path.empty())
            continue;
        const std::string name = ValueName(i + 1);
        store.WriteString(section_.c_str(), name.c_str(), entry.path.c_str());
        for (const DetailValue& detail : kDetails)
            store.WriteString(section_.c_str(), (name + detail.suffix).c_str(),
                              (entry.*detail.member).c_str());
    }
}

bool RecentRecordings::Add(RecentEntry entry)
{
    if (entry.path.empty() || entry.path.size() >= kMaxPath)
        return false;
    char full[MAX_PATH];
    const DWORD length = GetFullPathNameA(entry.path.c_str(), MAX_PATH, full, nullptr);
    if (length == 0 || length >= kMaxPath)
        return false;
    entry.path.assign(full, length);

    auto found = std::find_if(entries_.begin(), entries_.end(), [&](const RecentEntry& e) {
        return !e.path.empty() && SamePath(e.path, entry.path);
    });
    if (found == entries_.end())
        found = entries_.end() - 1;
    std::move_backward(entries_.begin(), found, found + 1);
    entries_.front() = std::move(entry);
    return true;
}

bool RecentRecordings::RemoveMissing(const std::function<bool(const std::string&)>& fileExists)
{
    bool removed = false;
    for (int i = kCount - 1; i >= 0; --i) {
        const auto at = entries_.begin() + i;
        if (!at->path.empty() && fileExists(at->path))
            continue;
        const bool wasEntry = !at->path.empty() ||
                              std::any_of(at + 1, entries_.end(),
                                          [](const RecentEntry& e) { return !e.path.empty(); });
        std::move(at + 1, entries_.end(), at);
        entries_.back() = RecentEntry{};
        removed = removed || wasEntry;
    }
    return removed;
}

std::string ThumbnailPathFor(const std::string& recordingPath)
{
    for (const char* extension : {".mpg", ".mpeg"}) {
        if (EndsWithNoCase(recordingPath, extension))
            return recordingPath.substr(0, recordingPath.size() - std::string(extension).size()) +
                   ".bmp";
    }
    return recordingPath + ".bmp";
}

std::string ThumbnailPicture(const std::string& recordingPath, const std::string& placeholder,
                             const std::function<bool(const std::string&)>& canOpen,
                             const std::function<bool(const std::string&, const std::string&)>& write)
{
    const std::string bitmap = ThumbnailPathFor(recordingPath);
    if (canOpen(bitmap) || (write(recordingPath, bitmap) && canOpen(bitmap)))
        return bitmap;
    return placeholder;
}

bool SamePath(const std::string& a, const std::string& b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char x, char y) { return FoldPathChar(x) == FoldPathChar(y); });
}

}  // namespace settings

#include "ClipName.h"

#include <algorithm>
#include <climits>
#include <cstdio>

#include <win/Owned.h>

namespace recording {

namespace {

struct FindTraits {
    using Raw = HANDLE;
    static Raw Empty() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Raw h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static void Free(Raw h) { ::FindClose(h); }
};
using FindHandle = win::Owned<FindTraits>;

}  // namespace

bool IsJapaneseLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

std::string WithTrailingBackslash(const std::string& folder)
{
    if (folder.empty())
        return folder;
    // Walk the characters from the start: only there is it known which byte leads.
    size_t lastStart = 0;
    for (size_t i = 0; i < folder.size();) {
        lastStart = i;
        const bool pair = IsJapaneseLeadByte(static_cast<unsigned char>(folder[i])) && i + 1 < folder.size();
        i += pair ? 2 : 1;
    }
    // A forward slash separates folders too; it is never the second byte of a character.
    const bool endsInSeparator = lastStart == folder.size() - 1 && (folder.back() == '\\' || folder.back() == '/');
    return endsInSeparator ? folder : folder + '\\';
}

long long ClipNumberOf(const std::string& fileName)
{
    long long number = 0;
    for (size_t i = 4; i < fileName.size() && fileName[i] >= '0' && fileName[i] <= '9'; ++i) {
        number = number * 10 + (fileName[i] - '0');
        if (number >= INT_MAX)
            return INT_MAX;
    }
    return number;
}

long long NextClipNumber(const std::vector<std::string>& fileNames)
{
    long long highest = 0;
    for (const std::string& name : fileNames)
        highest = std::max(highest, ClipNumberOf(name));
    return highest + 1;
}

std::vector<std::string> SystemFolderListing::Names(const std::string& pattern) const
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found{};
    FindHandle find(::FindFirstFileA(pattern.c_str(), &found));
    if (!find)
        return names;
    do
        names.emplace_back(found.cFileName);
    while (::FindNextFileA(find.Get(), &found));
    return names;
}

NameChoice TooLongName(std::size_t length)
{
    char text[256];
    std::snprintf(text, sizeof text,
                  "The recording's file name would be %u characters long; at most %u fit. "
                  "Choose a recording folder with a shorter path.",
                  static_cast<unsigned>(length), static_cast<unsigned>(kMaxRecordingPath));
    return {NameChoice::kRefused, "", text};
}

NameChoice NextClipName(const std::string& recordingFolder, const FolderListing& listing,
                        const ClipFolderHost& host)
{
    std::string folder = recordingFolder;
    if (folder.empty()) {
        const std::optional<std::string> chosen = host.askFolder ? host.askFolder() : std::nullopt;
        if (!chosen || chosen->empty())
            return {};
        folder = *chosen;
        if (host.storeFolder)
            host.storeFolder(folder);
    }
    folder = WithTrailingBackslash(folder);
    const long long number = NextClipNumber(listing.Names(folder + "clip*.*"));
    if (number > INT_MAX)
        return {NameChoice::kRefused, "", "Every clip number of the recording folder is taken."};
    const std::string name = folder + "clip" + std::to_string(number) + ".mpg";
    if (name.size() > kMaxRecordingPath)
        return TooLongName(name.size());
    return {NameChoice::kNamed, name, ""};
}

}  // namespace recording

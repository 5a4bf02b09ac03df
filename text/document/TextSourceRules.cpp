// Where the text comes from: path choice and resource fallbacks.
#include "TextSourceRules.h"

#include <vector>

namespace lorvane {

std::string ChooseTextFilePath(const std::string& storedPath, const std::string& givenPath, bool prompt,
                               bool useDefault, const std::function<bool(std::string*)>& askUser)
{
    std::string path = storedPath;
    if (prompt && askUser) {
        std::string edited = path;
        if (askUser(&edited))
            path = edited;
    }
    if (useDefault && !givenPath.empty())
        path = givenPath;
    return path;
}

bool IsResourceLibraryPath(const std::string& path)
{
    const size_t dot = path.find_last_of('.');
    const size_t slash = path.find_last_of("\\/");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return false;
    std::string extension = path.substr(dot);
    for (char& c : extension)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return extension == ".DLL";
}

ResourceSearchResult SearchTextResource(DWORD languageId, bool windows9x,
                                        const std::function<ResourceOutcome(DWORD)>& tryLoad)
{
    ResourceSearchResult result;
    result.id = languageId;
    const ResourceOutcome first = tryLoad(languageId);
    if (first == ResourceOutcome::Loaded) {
        result.loaded = true;
        return result;
    }
    std::vector<DWORD> fallbacks;
    if (windows9x && first == ResourceOutcome::Failed)
        fallbacks = {languageId * 10, 10330};
    else
        fallbacks = {1033};
    std::vector<DWORD> tried = {languageId};
    for (DWORD id : fallbacks) {
        bool seen = false;
        for (DWORD t : tried)
            seen = seen || t == id;
        if (seen)
            continue;
        tried.push_back(id);
        result.id = id;
        result.alternate = true;
        if (tryLoad(id) == ResourceOutcome::Loaded) {
            result.loaded = true;
            return result;
        }
    }
    return result;
}

bool IsWindows98OrMe(DWORD platformId, DWORD minorVersion)
{
    return platformId == 1 && minorVersion > 0;
}

bool RunningOnWindows98OrMe()
{
    // Only the 32-bit Windows line has platform id 1; every system this module runs on is NT.
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!GetVersionExA(&info))
        return false;
    return IsWindows98OrMe(info.dwPlatformId, info.dwMinorVersion);
}

}  // namespace lorvane

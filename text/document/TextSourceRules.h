#pragma once
// Rules that decide where the text comes from: the file path chosen from the stored path, the
// prompt and the given path, and the order in which a resource library's text resources are
// tried. Pure logic; loading is passed in.
#include <windows.h>

#include <functional>
#include <string>

namespace lorvane {

// Step order: the stored path; the prompt's answer when prompting (cancel keeps it); then the
// given path when use-default is on and the given path is not empty.
std::string ChooseTextFilePath(const std::string& storedPath, const std::string& givenPath, bool prompt,
                               bool useDefault, const std::function<bool(std::string*)>& askUser);

// True when the extension, upper-cased, is ".DLL".
bool IsResourceLibraryPath(const std::string& path);

enum class ResourceOutcome { Missing, Failed, Loaded };

struct ResourceSearchResult {
    bool loaded = false;
    DWORD id = 0;            // the resource that loaded (or was tried last)
    bool alternate = false;  // `id` is not the language asked for
};

// Tries `languageId`, then the fallbacks: on Windows 98/Me, after a resource that existed but
// did not load, languageId * 10 and then 10330; otherwise 1033 once. An id already tried is
// not tried again.
ResourceSearchResult SearchTextResource(DWORD languageId, bool windows9x,
                                        const std::function<ResourceOutcome(DWORD)>& tryLoad);

// Windows 98 or Me: platform id 1 with a minor version above 0.
bool IsWindows98OrMe(DWORD platformId, DWORD minorVersion);
bool RunningOnWindows98OrMe();

}  // namespace lorvane

#pragma once
// The folder browser of the recording folder: the system's browser titled "Current
// Selection", opening on a start folder and showing the selected path in its status line.
#include <framework/Framework.h>

#include <functional>
#include <optional>
#include <string>

namespace recording {

constexpr std::size_t kStatusPathChars = 35;

// The browser's status line for a path: longer than 35 characters, its first 35 followed by
// "..."; a double-byte character is never split (`isLeadByte` tells the lead bytes).
std::string BrowserStatusText(const std::string& path,
                              const std::function<bool(unsigned char)>& isLeadByte = {});

// The folder chosen in the browser, or nothing when the user cancels or the chosen item has
// no file-system path. `flags` are added to the status-line option.
std::optional<std::string> BrowseForFolder(CWnd* owner, const std::string& startFolder, UINT flags = 0);

}  // namespace recording

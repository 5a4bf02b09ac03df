#pragma once
// Offering the DirectX download when the device needs a newer DirectX than the machine has.
#include <windows.h>

#include <functional>
#include <string>

namespace media {

// The caller supplies the texts from the text library (3034, 3035, the location 3036, the
// title 102), so this code does not depend on where texts live.
struct DirectXDownloadTexts {
    std::string question;     // 3034
    std::string explanation;  // 3035
    std::string location;     // 3036
    std::string title;        // 102
};

std::string DirectXOfferMessage(const DirectXDownloadTexts& texts);

// Shows a message box (owner, text, caption, MB_* style) and answers the button pressed: the
// program's own message box, so that this offer looks like every other message.
using MessageFunction = std::function<int(HWND, const std::string&, const std::string&, UINT)>;

// Yes/no message box; on "yes" opens the location and returns 1, else 0.
int OfferDirectXDownload(HWND owner, const DirectXDownloadTexts& texts, const MessageFunction& ask);

}  // namespace media
